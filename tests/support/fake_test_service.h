#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "sim/event_streams.h"
#include "testservice.grpc.pb.h"

namespace vanta::testing {

// A backend of the test schema, shaped like the device's backends.
//
// Echo answers with the request's text after `delay_ms`; a text of the form
// "status:<code>:<message>" is answered with that status instead.
//
// Subscribe streams the events given to publish() to every open stream and
// writes down what the client sent on each: "unsubscribe=true",
// "unsubscribe=false", then "half-close" (the client closed its side) or
// "cancelled" (the call was cancelled, for example by a server shutdown).
class FakeTestService final : public vanta::test::TestService::Service {
  public:
    grpc::Status Echo(grpc::ServerContext* /*context*/, const vanta::test::EchoRequest* request,
                      vanta::test::EchoReply* reply) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(request->delay_ms()));
        const std::string& text = request->text();
        const std::string prefix = "status:";
        if (text.compare(0, prefix.size(), prefix) == 0) {
            const size_t colon = text.find(':', prefix.size());
            const int code = std::atoi(text.substr(prefix.size(), colon - prefix.size()).c_str());
            return grpc::Status(static_cast<grpc::StatusCode>(code), text.substr(colon + 1));
        }
        reply->set_text(text);
        return grpc::Status::OK;
    }

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::test::Event, vanta::test::SubscriptionRequest>* stream)
        override {
        return streams_.serve(context, stream);
    }

    // Sends an event with `text` on every open stream, numbered per stream.
    void publish(const std::string& text) {
        streams_.publish([&](int sequence) {
            vanta::test::Event event;
            event.set_sequence(sequence);
            event.set_text(text);
            return event;
        });
    }
    // Ends every open stream from the backend's side.
    void close_streams() { streams_.close_streams(); }
    int opened() const { return streams_.opened(); }
    size_t open_streams() const { return streams_.open_streams(); }
    std::vector<std::string> journal() const { return streams_.journal(); }
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_opened(count, limit);
    }
    bool wait_for_open_streams(size_t count,
                               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_open_streams(count, limit);
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_journal(entries, limit);
    }

  private:
    sim::EventStreams<vanta::test::Event, vanta::test::SubscriptionRequest> streams_;
};

}  // namespace vanta::testing
