#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "rpc/client/grpc_client_stub.h"
#include "rpc/client/grpc_exceptions.h"
#include "rpc/client/grpc_observable_client.h"
#include "testservice.grpc.pb.h"

namespace vanta::testing {

// What observers of the test backend receive.
struct TestEvent {
    int sequence = 0;
    std::string text;
};

// A backend client interface of the usual shape: the observable base plus the
// backend's own operations.
class TestClient : public virtual GrpcObservableClientBase<TestEvent> {
  public:
    virtual std::string Echo(const std::string& text, std::chrono::milliseconds delay) = 0;
};

inline const std::string kTestServiceName = "Test Service";

// The client of the test backend, written the way the daemon's backend clients
// are. An event with the text "disconnected" is reported as a disconnection.
class TestClientImpl final
    : public GrpcObservableClient<vanta::test::TestService, TestClient,
                                  vanta::test::SubscriptionRequest, vanta::test::Event, TestEvent> {
  public:
    TestClientImpl(const std::string& address, Executor& executor,
                   std::chrono::milliseconds timeout = std::chrono::seconds(2))
        : GrpcObservableClient(address, executor), timeout_(timeout) {}
    ~TestClientImpl() override { RemoveObserver(); }

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

  protected:
    void observed_event_handler(const std::function<void(const TestEvent&)>& on_event,
                                const std::function<void()>& on_disconnect,
                                const vanta::test::Event& event) override {
        if (event.text() == "disconnected") {
            on_disconnect();
        } else {
            on_event(TestEvent{event.sequence(), event.text()});
        }
    }

  private:
    const std::chrono::milliseconds timeout_;
};

// The same interface with nothing behind it.
class TestClientStub final : public GrpcObservableClientStub<TestClient, TestEvent> {
  public:
    std::string Echo(const std::string& /*text*/, std::chrono::milliseconds /*delay*/) override {
        return {};
    }
};

// Collects what an observer is given, from the stream's reader thread.
class EventRecorder {
  public:
    std::function<void(const TestEvent&)> on_event() {
        return [this](const TestEvent& event) {
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(event.text);
            changed_.notify_all();
        };
    }
    std::function<void()> on_disconnect() {
        return [this] {
            std::lock_guard<std::mutex> lock(mutex_);
            ++disconnects_;
            changed_.notify_all();
        };
    }
    std::function<void()> on_stream_end() {
        return [this] {
            std::lock_guard<std::mutex> lock(mutex_);
            ++stream_ends_;
            changed_.notify_all();
        };
    }

    std::vector<std::string> texts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }
    int disconnects() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return disconnects_;
    }
    int stream_ends() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return stream_ends_;
    }
    bool wait_for_events(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return texts_.size() >= count; });
    }
    bool wait_for_stream_ends(int count,
                              std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return stream_ends_ >= count; });
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> texts_;
    int disconnects_ = 0;
    int stream_ends_ = 0;
};

}  // namespace vanta::testing
