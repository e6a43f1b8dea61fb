#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "testservice.grpc.pb.h"

namespace vanta::testing {

// A client's Subscribe call on the test service, on a channel of its own.
// Every call gives up after 20 s so that a broken server cannot hang a test.
class EventSubscription {
  public:
    explicit EventSubscription(const std::string& address)
        : stub_(vanta::test::TestService::NewStub(
              grpc::CreateChannel(address, grpc::InsecureChannelCredentials()))) {
        context_.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(20));
        stream_ = stub_->Subscribe(&context_);
    }
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

    // The next event, or nothing once the stream has ended.
    std::optional<vanta::test::Event> next() {
        vanta::test::Event event;
        if (!stream_->Read(&event)) {
            return std::nullopt;
        }
        return event;
    }

    // True once the server's "started" event has arrived: the stream is
    // attached to the publisher from then on.
    bool wait_until_started() {
        auto event = next();
        return event && event->sequence() == 0 && event->text() == "started";
    }

    bool request(bool unsubscribe) {
        vanta::test::SubscriptionRequest request;
        request.set_unsubscribe(unsubscribe);
        return stream_->Write(request);
    }
    bool half_close() { return stream_->WritesDone(); }
    void cancel() { context_.TryCancel(); }

    // Every event until the stream ends.
    std::vector<vanta::test::Event> read_to_end() {
        std::vector<vanta::test::Event> events;
        while (auto event = next()) {
            events.push_back(*event);
        }
        return events;
    }
    grpc::Status finish() { return stream_->Finish(); }

  private:
    std::unique_ptr<vanta::test::TestService::Stub> stub_;
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<vanta::test::SubscriptionRequest, vanta::test::Event>>
        stream_;
};

// An event as the tests publish it.
inline vanta::test::Event make_event(int sequence, const std::string& text = "") {
    vanta::test::Event event;
    event.set_sequence(sequence);
    event.set_text(text);
    return event;
}

// The sequence numbers of `events`, for readable comparisons.
inline std::vector<int> sequences(const std::vector<vanta::test::Event>& events) {
    std::vector<int> numbers;
    for (const auto& event : events) {
        numbers.push_back(event.sequence());
    }
    return numbers;
}

}  // namespace vanta::testing
