#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "calendar.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::calendar {

// The calendar service: the room's bookings, their dismissal, and the stream
// of updated booking lists. Every call has a deadline of one second.
//
// The subscription is the observer of GrpcObservableClientBase under the
// calendar's own names; the service announces nothing about its stream.
class CalendarClient : public virtual GrpcObservableClientBase<CalendarUpdate> {
  public:
    using UpdateHandler = EventHandler;
    using Notification = std::function<void()>;

    // Subscribes to the updated booking lists. When the stream ends while
    // still subscribed, it is set up again on a new channel by work queued on
    // the client's executor. Throws std::runtime_error while already
    // subscribed.
    void Subscribe(const UpdateHandler& on_update) { SetObserver(on_update, no_notice); }
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    void Subscribe(const UpdateHandler& on_update, const Notification& on_closed) {
        SetObserver(on_update, no_notice, on_closed);
    }
    // Tells the service that the subscription ends and closes the stream.
    void Unsubscribe() { RemoveObserver(); }

  private:
    // The second callback of the observer: the service announces nothing.
    static void no_notice() {}

  public:
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

// A client of the calendar service at `endpoint` (the catalogue's calendar
// row). Makes no call to the service.
std::unique_ptr<calendar::CalendarClient> create_calendar_client(Executor& executor,
                                                                 const Endpoint& endpoint);

}  // namespace vanta
