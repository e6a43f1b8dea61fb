#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "calendar.grpc.pb.h"
#include "clients/calendar/calendar_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_observable_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::calendar {

// Threading: unary operations may run on any thread at once; Subscribe and
// Unsubscribe belong to the executor's thread, updates arrive on the stream's
// reader thread. The service reads `subscribe` true as the start of a
// subscription and false as its end.
class CalendarClientImpl final
    : public GrpcObservableClient<Calendar, CalendarClient, SubscriptionRequest, CalendarUpdate,
                                  CalendarUpdate> {
  public:
    CalendarClientImpl(Executor& executor, const Endpoint& endpoint);
    ~CalendarClientImpl() override;

    std::optional<CalendarEventList> GetCalendarEvents(
        const CalendarEventsRequest& request) override;
    CalendarEventResponse GetCalendarEvent(const std::string& id) override;
    void DismissCalendarEvent(const std::string& id) override;
    void DismissCalendarEvents() override;

  private:
    void observed_event_handler(const UpdateHandler& on_update, const Notification& on_ready,
                                const CalendarUpdate& update) override;
    clients::UnaryCall call(const char* operation) const;

    std::string name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::calendar
