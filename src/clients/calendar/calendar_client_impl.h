#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "calendar.grpc.pb.h"
#include "clients/calendar/calendar_client.h"
#include "clients/common/backend_subscription.h"
#include "clients/common/unary_call.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::calendar {

// Threading: unary operations may run on any thread at once; Subscribe and
// Unsubscribe belong to the executor's thread, updates arrive on the stream's
// reader thread.
class CalendarClientImpl final : public GrpcClient<Calendar, CalendarClient> {
  public:
    static constexpr std::chrono::milliseconds kTimeout{1000};

    CalendarClientImpl(Executor& executor, const std::string& name, const std::string& address);
    ~CalendarClientImpl() override;

    void Subscribe(const UpdateHandler& on_update) override;
    void Subscribe(const UpdateHandler& on_update, const Notification& on_closed) override;
    void Unsubscribe() override;

    std::optional<CalendarEventList> GetCalendarEvents(
        const CalendarEventsRequest& request) override;
    CalendarEventResponse GetCalendarEvent(const std::string& id) override;
    void DismissCalendarEvent(const std::string& id) override;
    void DismissCalendarEvents() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::string name_;
    logging::Logger& logger_;
    clients::BackendSubscription<SubscriptionRequest, CalendarUpdate> subscription_;
};

}  // namespace vanta::calendar
