#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "rpc/server/grpc_server_publisher.h"
#include "rpc/server/grpc_server_sync_subscriber.h"
#include "testservice.grpc.pb.h"

namespace vanta::testing {

using vanta::test::Event;
using vanta::test::SubscriptionRequest;

inline Event make_event(int sequence, const std::string& text = "") {
    Event event;
    event.set_sequence(sequence);
    event.set_text(text);
    return event;
}

// The test schema's service, serving Subscribe through the event fan-out the
// way the daemon's API does: each call attaches one writer, queues a "started"
// event (sequence 0) for itself, serves the stream until a request with
// `unsubscribe` set, then detaches. Echo answers with its text after
// `delay_ms`.
//
// For the tests it watches every stream: the service counts what it saw so
// tests can wait for it, and keeps the result of every write.
class TestEventService final : public vanta::test::TestService::Service {
  public:
    GrpcServerPublisher<Event>& publisher() { return publisher_; }

    // Run on a stream's handler thread: `before` once its writer is attached
    // and its "started" event queued, `after` once the stream has been served
    // and before its writer is detached.
    void set_hooks(std::function<void()> before, std::function<void()> after) {
        std::lock_guard<std::mutex> lock(mutex_);
        before_ = std::move(before);
        after_ = std::move(after);
    }

    // Waits (bounded) until the service has seen `count` of `what`: "request"
    // (read on a stream), "failed read", "finished call" (its writer detached
    // and destroyed) or "echo call".
    bool wait_for(const std::string& what, int count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5),
                                 [&] { return counts_[what] >= count; });
    }

    // The result of every stream write, in the order they ended.
    std::vector<bool> write_results() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return write_results_;
    }

    grpc::Status Echo(grpc::ServerContext*, const vanta::test::EchoRequest* request,
                      vanta::test::EchoReply* reply) override {
        count("echo call");
        std::this_thread::sleep_for(std::chrono::milliseconds(request->delay_ms()));
        reply->set_text(request->text());
        return grpc::Status::OK;
    }

    grpc::Status Subscribe(grpc::ServerContext*,
                           grpc::ServerReaderWriter<Event, SubscriptionRequest>* stream) override {
        {
            WatchedStream watched(stream, *this);
            GrpcServerSyncSubscriber<Event, SubscriptionRequest> writer(&watched);
            publisher_.add(&writer);
            // Detached however the call ends: a hook may throw.
            const Detach detach{publisher_, &writer};
            writer.send(make_event(0, "started"));
            run_hook(&TestEventService::before_);
            writer.process_queue([this](const SubscriptionRequest& request) {
                count("request");
                return request.unsubscribe();
            });
            run_hook(&TestEventService::after_);
        }
        count("finished call");
        return grpc::Status::OK;
    }

  private:
    using Stream = grpc::ServerReaderWriterInterface<Event, SubscriptionRequest>;

    struct Detach {
        GrpcServerPublisher<Event>& publisher;
        GrpcServerWriter<Event>* writer;
        ~Detach() { publisher.remove(writer); }
    };

    // Forwards to the call's stream, recording failed reads and write results.
    class WatchedStream final : public Stream {
      public:
        WatchedStream(Stream* stream, TestEventService& service)
            : stream_(stream), service_(service) {}

        void SendInitialMetadata() override { stream_->SendInitialMetadata(); }
        bool NextMessageSize(uint32_t* size) override { return stream_->NextMessageSize(size); }
        bool Read(SubscriptionRequest* request) override {
            const bool ok = stream_->Read(request);
            if (!ok) {
                service_.count("failed read");
            }
            return ok;
        }
        bool Write(const Event& event, grpc::WriteOptions options) override {
            const bool ok = stream_->Write(event, options);
            std::lock_guard<std::mutex> lock(service_.mutex_);
            service_.write_results_.push_back(ok);
            return ok;
        }

      private:
        Stream* stream_;
        TestEventService& service_;
    };

    void run_hook(std::function<void()> TestEventService::*slot) {
        std::unique_lock<std::mutex> lock(mutex_);
        const std::function<void()> hook = this->*slot;
        lock.unlock();
        if (hook) {
            hook();
        }
    }
    void count(const std::string& what) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++counts_[what];
        changed_.notify_all();
    }

    GrpcServerPublisher<Event> publisher_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> before_;
    std::function<void()> after_;
    std::vector<bool> write_results_;
    std::map<std::string, int> counts_;
};

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

    // The next event, or nothing once the stream has ended.
    std::optional<Event> next() {
        Event event;
        return stream_->Read(&event) ? std::optional<Event>(event) : std::nullopt;
    }
    // True once the server's "started" event has arrived: the stream is
    // attached to the publisher from then on.
    bool wait_until_started() {
        auto event = next();
        return event && event->sequence() == 0 && event->text() == "started";
    }
    // The sequence numbers of every event until the stream ends.
    std::vector<int> read_to_end() {
        std::vector<int> sequences;
        while (auto event = next()) {
            sequences.push_back(event->sequence());
        }
        return sequences;
    }

    bool request(bool unsubscribe) {
        SubscriptionRequest request;
        request.set_unsubscribe(unsubscribe);
        return stream_->Write(request);
    }
    bool half_close() { return stream_->WritesDone(); }
    void cancel() { context_.TryCancel(); }
    grpc::Status finish() { return stream_->Finish(); }

  private:
    std::unique_ptr<vanta::test::TestService::Stub> stub_;
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<SubscriptionRequest, Event>> stream_;
};

}  // namespace vanta::testing
