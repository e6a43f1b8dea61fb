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
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The calendar service: bookings, dismissal, and the stream of updated
// booking lists. Its subscription requests carry `subscribe` (not the
// `unsubscribe` of the other backends): the journal says "subscribe=true",
// "subscribe=false", then "half-close" or "cancelled".
class CalendarBackend final : public vanta::calendar::Calendar::Service, public ScriptedBackend {
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
        return streams_.serve(context, stream);
    }

    // Sends `update` on every open stream.
    void publish(const CalendarUpdate& update) { streams_.publish(update); }
    // Ends every open stream from the service's side.
    void close_streams() { streams_.close_streams(); }
    int opened() const { return streams_.opened(); }
    std::vector<std::string> journal() const { return streams_.journal(); }
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_opened(count, limit);
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_journal(entries, limit);
    }

  private:
    EventStreams<CalendarUpdate, SubscriptionRequest> streams_;
};

}  // namespace vanta::sim
