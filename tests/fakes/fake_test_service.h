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
        auto open = std::make_shared<OpenStream>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            streams_.push_back(open);
            ++opened_;
            changed_.notify_all();
        }
        std::thread reader([this, context, stream, open] {
            vanta::test::SubscriptionRequest request;
            while (stream->Read(&request)) {
                note(request.unsubscribe() ? "unsubscribe=true" : "unsubscribe=false");
            }
            const bool cancelled = context->IsCancelled();
            std::lock_guard<std::mutex> lock(mutex_);
            journal_.push_back(cancelled ? "cancelled" : "half-close");
            open->reader_done = true;
            changed_.notify_all();
        });
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait_for(lock, std::chrono::milliseconds(20), [&] {
                return !open->pending.empty() || open->reader_done || open->close;
            });
            while (!open->pending.empty()) {
                const vanta::test::Event event = open->pending.front();
                open->pending.pop_front();
                lock.unlock();
                stream->Write(event);
                lock.lock();
            }
            if (open->reader_done || open->close || context->IsCancelled()) {
                break;
            }
        }
        const bool reader_done = open->reader_done;
        streams_.erase(std::find(streams_.begin(), streams_.end(), open));
        changed_.notify_all();
        lock.unlock();
        if (!reader_done) {
            // The backend ends the call while the client still reads and writes.
            context->TryCancel();
        }
        reader.join();
        return grpc::Status::OK;
    }

    // Sends an event with `text` on every open stream.
    void publish(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            vanta::test::Event event;
            event.set_sequence(++open->sequence);
            event.set_text(text);
            open->pending.push_back(event);
        }
        changed_.notify_all();
    }
    // Ends every open stream from the backend's side.
    void close_streams() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            open->close = true;
        }
        changed_.notify_all();
    }

    int opened() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return opened_;
    }
    size_t open_streams() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return streams_.size();
    }
    std::vector<std::string> journal() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return journal_;
    }
    // Bounded waits for what the service has seen.
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return opened_ >= count; });
    }
    bool wait_for_open_streams(size_t count,
                               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return streams_.size() == count; });
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return journal_.size() >= entries; });
    }

  private:
    struct OpenStream {
        std::deque<vanta::test::Event> pending;
        int sequence = 0;
        bool reader_done = false;
        bool close = false;
    };

    void note(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        journal_.push_back(entry);
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::shared_ptr<OpenStream>> streams_;
    int opened_ = 0;
    std::vector<std::string> journal_;
};

}  // namespace vanta::testing
