#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include <google/protobuf/empty.pb.h>

#include "calendar.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The calendar service: the room's bookings, dismissal, and the stream of
// updated booking lists. Its subscription requests carry `subscribe` (not the
// `unsubscribe` of the other backends): the journal says "subscribe=true",
// "subscribe=false", then "half-close" or "cancelled".
//
// What it does itself: it holds a few bookings of today around the time it
// was made (start times in seconds since the epoch, durations in minutes).
// GetCalendarEvents lists those that overlap the request's interval (all of
// them for an interval of zeros); GetCalendarEvent finds one by id; a
// dismissal marks the booking dismissed and pushes the updated list (status
// SUCCESS) on the stream. An unknown id is ignored.
class CalendarBackend final : public vanta::calendar::Calendar::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using CalendarUpdate = vanta::calendar::CalendarUpdate;
    using SubscriptionRequest = vanta::calendar::SubscriptionRequest;
    using CalendarEventList = vanta::calendar::CalendarEventList;
    using CalendarEventRequest = vanta::calendar::CalendarEventRequest;

  public:
    // Bookings around `now`.
    explicit CalendarBackend(
        std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

    VANTA_SCRIPTED_OPERATION(GetCalendarEvents, vanta::calendar::CalendarEventsRequest,
                             CalendarEventList)
    VANTA_SCRIPTED_OPERATION(GetCalendarEvent, CalendarEventRequest,
                             vanta::calendar::CalendarEventResponse)
    VANTA_SCRIPTED_OPERATION(DismissCalendarEvent, CalendarEventRequest, Empty)
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
    grpc::Status list(const vanta::calendar::CalendarEventsRequest& request,
                      CalendarEventList& list);
    grpc::Status find(const CalendarEventRequest& request,
                      vanta::calendar::CalendarEventResponse& response);
    grpc::Status dismiss(const CalendarEventRequest& request, Empty& response);
    grpc::Status dismiss_all(const Empty& request, Empty& response);
    // Dismisses the bookings `chosen` picks and pushes the list if one changed.
    template <typename Choice>
    void dismiss_where(Choice chosen);

    std::mutex mutex_;
    CalendarEventList bookings_;
    EventStreams<CalendarUpdate, SubscriptionRequest> streams_;
};

}  // namespace vanta::sim
