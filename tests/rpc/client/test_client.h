#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "rpc/client/grpc_client_stub.h"
#include "rpc/client/grpc_exceptions.h"
#include "rpc/client/grpc_observable_client.h"
#include "runtime/logging/logger.h"
#include "runtime/logging/loggers.h"
#include "testservice.grpc.pb.h"

namespace vanta::testing {

// A backend client interface of the usual shape: the observable base plus the
// backend's own operations.
class TestClient : public virtual GrpcObservableClientBase<vanta::test::Event> {
  public:
    virtual std::string Echo(const std::string& text, std::chrono::milliseconds delay) = 0;
};

inline const std::string kTestServiceName = "Test Service";

// The client of the test backend, written the way the daemon's backend clients
// are. The backend announces its stream with an event "started"; an event
// "unreadable" is one the client cannot make sense of.
class TestClientImpl final : public GrpcObservableClient<vanta::test::TestService, TestClient,
                                                         vanta::test::SubscriptionRequest,
                                                         vanta::test::Event, vanta::test::Event> {
  public:
    TestClientImpl(const std::string& address, Executor& executor,
                   std::chrono::milliseconds timeout = std::chrono::seconds(2))
        : TestClientImpl(address, &executor, logging::getNullLogger(), timeout) {}
    TestClientImpl(const std::string& address, Executor* executor, logging::Logger& logger,
                   std::chrono::milliseconds timeout = std::chrono::seconds(2))
        : GrpcObservableClient(address, executor, logger, "test::SetObserver",
                               unsubscribe_words<vanta::test::SubscriptionRequest>()),
          timeout_(timeout) {}
    ~TestClientImpl() override { close_stream(); }

    std::string Echo(const std::string& text, std::chrono::milliseconds delay) override {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + timeout_);
        vanta::test::EchoRequest request;
        request.set_text(text);
        request.set_delay_ms(static_cast<int>(delay.count()));
        vanta::test::EchoReply reply;
        handle_grpc_status(kTestServiceName, "Echo", stub().Echo(&context, request, &reply));
        return reply.text();
    }

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const vanta::test::Event& event) override {
        if (event.text() == "unreadable") {
            throw std::runtime_error("unreadable event");
        }
        forward(on_event, on_ready, event, event.text() == "started");
    }

    const std::chrono::milliseconds timeout_;
};

// The same interface with nothing behind it.
class TestClientStub final : public GrpcObservableClientStub<TestClient, vanta::test::Event> {
  public:
    std::string Echo(const std::string& /*text*/, std::chrono::milliseconds /*delay*/) override {
        return {};
    }
};

// Collects what an observer is told, in order, from the stream's reader
// thread: each event's text, "ready", and the ends of streams.
class EventRecorder {
  public:
    std::function<void(const vanta::test::Event&)> on_event() {
        return [this](const vanta::test::Event& event) { add(event.text()); };
    }
    std::function<void()> on_ready() {
        return [this] { add("ready"); };
    }
    std::function<void()> on_stream_end() {
        return [this] {
            std::lock_guard<std::mutex> lock(mutex_);
            ++stream_ends_;
            changed_.notify_all();
        };
    }

    std::vector<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    int stream_ends() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return stream_ends_;
    }
    bool wait_for_seen(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return seen_.size() >= count; });
    }
    bool wait_for_stream_ends(int count,
                              std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return stream_ends_ >= count; });
    }

  private:
    void add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(entry);
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> seen_;
    int stream_ends_ = 0;
};

}  // namespace vanta::testing
