#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "rpc/server/grpc_server_publisher.h"
#include "rpc/server/grpc_server_sync_subscriber.h"
#include "testservice.grpc.pb.h"

namespace vanta::testing {

// The test schema's service, serving Subscribe through the event fan-out the
// way the daemon's API does: each call attaches one writer, queues a "started"
// event (sequence 0) for itself, serves the stream until a request with
// `unsubscribe` set, then detaches. Echo answers with its text after
// `delay_ms`.
//
// For the tests it watches every stream: writes can be held at a gate, and the
// service counts what it saw so tests can wait for it.
class TestEventService final : public vanta::test::TestService::Service {
  public:
    using Publisher = GrpcServerPublisher<vanta::test::Event>;

    Publisher& publisher() { return publisher_; }

    // While the gate is shut, every stream write waits before reaching gRPC
    // (for at most 10 s, so that a failing test cannot hang the server).
    void shut_gate() { set_gate(false); }
    void open_gate() { set_gate(true); }

    // Runs on a stream's handler thread once the stream has been served and
    // before its writer is detached from the publisher.
    void set_after_processing(std::function<void()> hook) {
        std::lock_guard<std::mutex> lock(mutex_);
        after_processing_ = std::move(hook);
    }
    // Runs on a stream's handler thread once its writer is attached and its
    // "started" event queued, before anything is written.
    void set_before_processing(std::function<void()> hook) {
        std::lock_guard<std::mutex> lock(mutex_);
        before_processing_ = std::move(hook);
    }

    // Bounded waits for what the service has seen.
    bool wait_for_stop_requests(int count) { return wait_for(stop_requests_, count); }
    bool wait_for_failed_reads(int count) { return wait_for(failed_reads_, count); }
    bool wait_for_finished_calls(int count) { return wait_for(finished_calls_, count); }
    bool wait_for_echo_calls(int count) { return wait_for(echo_calls_, count); }

    // The result of every stream write, in the order they ended.
    std::vector<bool> write_results() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return write_results_;
    }

    grpc::Status Echo(grpc::ServerContext*, const vanta::test::EchoRequest* request,
                      vanta::test::EchoReply* reply) override {
        count(echo_calls_);
        std::this_thread::sleep_for(std::chrono::milliseconds(request->delay_ms()));
        reply->set_text(request->text());
        return grpc::Status::OK;
    }

    grpc::Status Subscribe(
        grpc::ServerContext*,
        grpc::ServerReaderWriter<vanta::test::Event, vanta::test::SubscriptionRequest>* stream)
        override {
        FinishedCall finished(*this);
        WatchedStream watched(stream, *this);
        GrpcServerSyncSubscriber<vanta::test::Event, vanta::test::SubscriptionRequest> writer(
            &watched);
        Attachment attachment(publisher_, writer);

        vanta::test::Event started;
        started.set_sequence(0);
        started.set_text("started");
        writer.send(started);
        run_hook(before_processing_);

        writer.process_queue([this](const vanta::test::SubscriptionRequest& request) {
            if (request.unsubscribe()) {
                count(stop_requests_);
            }
            return request.unsubscribe();
        });

        run_hook(after_processing_);
        return grpc::Status::OK;
    }

  private:
    void run_hook(const std::function<void()>& slot) {
        std::function<void()> hook;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            hook = slot;
        }
        if (hook) {
            hook();
        }
    }

    using Stream =
        grpc::ServerReaderWriterInterface<vanta::test::Event, vanta::test::SubscriptionRequest>;

    // Forwards to the call's stream, holding writes at the gate and recording
    // failed reads and write results.
    class WatchedStream final : public Stream {
      public:
        WatchedStream(Stream* stream, TestEventService& service)
            : stream_(stream), service_(service) {}

        void SendInitialMetadata() override { stream_->SendInitialMetadata(); }
        bool NextMessageSize(uint32_t* size) override { return stream_->NextMessageSize(size); }
        bool Read(vanta::test::SubscriptionRequest* request) override {
            const bool ok = stream_->Read(request);
            if (!ok) {
                service_.count(service_.failed_reads_);
            }
            return ok;
        }
        bool Write(const vanta::test::Event& event, grpc::WriteOptions options) override {
            service_.pass_gate();
            const bool ok = stream_->Write(event, options);
            service_.record_write(ok);
            return ok;
        }

      private:
        Stream* stream_;
        TestEventService& service_;
    };

    // Keeps the writer attached for the whole call, however it ends.
    class Attachment {
      public:
        Attachment(Publisher& publisher, GrpcServerWriter<vanta::test::Event>& writer)
            : publisher_(publisher), writer_(writer) {
            publisher_.add(&writer_);
        }
        ~Attachment() { publisher_.remove(&writer_); }
        Attachment(const Attachment&) = delete;
        Attachment& operator=(const Attachment&) = delete;

      private:
        Publisher& publisher_;
        GrpcServerWriter<vanta::test::Event>& writer_;
    };

    // Counts a finished call once the writer is detached and destroyed.
    struct FinishedCall {
        explicit FinishedCall(TestEventService& service) : service(service) {}
        ~FinishedCall() { service.count(service.finished_calls_); }
        TestEventService& service;
    };

    void set_gate(bool open) {
        std::lock_guard<std::mutex> lock(mutex_);
        gate_open_ = open;
        changed_.notify_all();
    }
    void pass_gate() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return gate_open_; });
    }
    void record_write(bool ok) {
        std::lock_guard<std::mutex> lock(mutex_);
        write_results_.push_back(ok);
        changed_.notify_all();
    }
    void count(int& counter) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++counter;
        changed_.notify_all();
    }
    bool wait_for(const int& counter, int count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5),
                                 [&counter, count] { return counter >= count; });
    }

    Publisher publisher_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool gate_open_ = true;
    std::function<void()> after_processing_;
    std::function<void()> before_processing_;
    std::vector<bool> write_results_;
    int stop_requests_ = 0;
    int failed_reads_ = 0;
    int finished_calls_ = 0;
    int echo_calls_ = 0;
};

}  // namespace vanta::testing
