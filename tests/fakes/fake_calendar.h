#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/empty.pb.h>

#include "calendar.grpc.pb.h"
#include "fakes/scripted_backend.h"

namespace vanta::testing {

// The calendar service: bookings, dismissal, and the stream of updated
// booking lists. Its subscription requests carry `subscribe` (not the
// `unsubscribe` of the other backends), so the stream is served here: what
// the client sent is written down as "subscribe=true", "subscribe=false",
// then "half-close" or "cancelled".
//
// Threading: Subscribe runs on gRPC's thread with a reader thread of its own;
// everything else may be called from any thread.
class FakeCalendar final : public vanta::calendar::Calendar::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using CalendarUpdate = vanta::calendar::CalendarUpdate;
    using SubscriptionRequest = vanta::calendar::SubscriptionRequest;

  public:
    VANTA_SCRIPTED_OPERATION(GetCalendarEvents, vanta::calendar::CalendarEventsRequest,
                             vanta::calendar::CalendarEventList)
    VANTA_SCRIPTED_OPERATION(GetCalendarEvent, vanta::calendar::CalendarEventRequest,
                             vanta::calendar::CalendarEventResponse)
    VANTA_SCRIPTED_OPERATION(DismissCalendarEvent, vanta::calendar::CalendarEventRequest, Empty)
    VANTA_SCRIPTED_OPERATION(DismissCalendarEvents, Empty, Empty)

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<CalendarUpdate, SubscriptionRequest>* stream) override {
        auto open = std::make_shared<OpenStream>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            current_ = open;
            ++opened_;
            changed_.notify_all();
        }
        std::thread reader([this, context, stream, open] {
            SubscriptionRequest request;
            while (stream->Read(&request)) {
                note(request.subscribe() ? "subscribe=true" : "subscribe=false");
            }
            note(context->IsCancelled() ? "cancelled" : "half-close");
            std::lock_guard<std::mutex> lock(mutex_);
            open->reader_done = true;
            changed_.notify_all();
        });
        std::unique_lock<std::mutex> lock(mutex_);
        while (!open->reader_done && !open->close && !context->IsCancelled()) {
            changed_.wait_for(lock, std::chrono::milliseconds(20));
            while (!open->pending.empty()) {
                const CalendarUpdate update = open->pending.front();
                open->pending.pop_front();
                lock.unlock();
                stream->Write(update);
                lock.lock();
            }
        }
        const bool client_left = open->reader_done;
        if (current_ == open) {
            current_.reset();
        }
        lock.unlock();
        if (!client_left) {
            // The service ends the call while the client still reads and writes.
            context->TryCancel();
        }
        reader.join();
        return grpc::Status::OK;
    }

    // Sends `update` on the open stream.
    void publish(const CalendarUpdate& update) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (current_) {
            current_->pending.push_back(update);
        }
        changed_.notify_all();
    }
    // Ends the open stream from the service's side.
    void close_streams() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (current_) {
            current_->close = true;
        }
        changed_.notify_all();
    }
    int opened() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return opened_;
    }
    std::vector<std::string> journal() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return journal_;
    }
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return opened_ >= count; });
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return journal_.size() >= entries; });
    }

  private:
    struct OpenStream {
        std::deque<CalendarUpdate> pending;
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
    std::shared_ptr<OpenStream> current_;
    int opened_ = 0;
    std::vector<std::string> journal_;
};

}  // namespace vanta::testing
