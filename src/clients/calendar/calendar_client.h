#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "calendar.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::calendar {

// The calendar service: the room's bookings, their dismissal, and the stream
// of updated booking lists. Every call has a deadline of one second.
class CalendarClient : public GrpcClientBase {
  public:
    using UpdateHandler = std::function<void(const CalendarUpdate&)>;
    using Notification = std::function<void()>;

    // Subscribes to the updated booking lists. When the stream ends while
    // still subscribed, it is set up again on a new channel by work queued on
    // the client's executor. Throws std::runtime_error while already
    // subscribed.
    virtual void Subscribe(const UpdateHandler& on_update) = 0;
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    virtual void Subscribe(const UpdateHandler& on_update, const Notification& on_closed) = 0;
    // Tells the service that the subscription ends and closes the stream.
    virtual void Unsubscribe() = 0;

    // The bookings; nothing when the service could not answer (after logging
    // "GetCalendarEvents failed: grpc error:<message> code: <CODE>"). Throws
    // std::runtime_error "GetCalendarEvents: unrecoverable grpc error: <CODE>"
    // for a refusal.
    virtual std::optional<CalendarEventList> GetCalendarEvents(
        const CalendarEventsRequest& request) = 0;
    // These raise the GrpcException of a failed call.
    virtual CalendarEventResponse GetCalendarEvent(const std::string& id) = 0;
    virtual void DismissCalendarEvent(const std::string& id) = 0;
    virtual void DismissCalendarEvents() = 0;
};

}  // namespace vanta::calendar

namespace vanta {

// A client of the calendar service named `name` (in errors), on the socket
// "/tmp/<endpoint_name>"; the daemon's is ("Calendar Service",
// "calendar_service"). Makes no call to the service.
std::unique_ptr<calendar::CalendarClient> create_calendar_client(Executor& executor,
                                                                 const std::string& name,
                                                                 const std::string& endpoint_name);

}  // namespace vanta
