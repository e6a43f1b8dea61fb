#include "clients/calendar/calendar_client_impl.h"

#include <stdexcept>

#include <google/protobuf/empty.pb.h>

#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/loggers.h"

namespace vanta::calendar {

namespace {
using Stub = Calendar::Stub;
using google::protobuf::Empty;

CalendarEventRequest event_request(const std::string& id) {
    CalendarEventRequest request;
    request.set_id(id);
    return request;
}
}  // namespace

CalendarClientImpl::CalendarClientImpl(Executor& executor, const Endpoint& endpoint)
    : GrpcObservableClient(endpoint.address, &executor, logging::getLogger("CalendarClient"),
                           "calendar::Subscribe", subscribe_words<SubscriptionRequest>()),
      name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("CalendarClient")) {}

// The stream's reader thread calls into this client until the stream is closed.
CalendarClientImpl::~CalendarClientImpl() {
    close_stream();
}

clients::UnaryCall CalendarClientImpl::call(const char* operation) const {
    return {name_, operation, timeout_, logger_};
}

void CalendarClientImpl::observed_event_handler(const UpdateHandler& on_update,
                                                const Notification& on_ready,
                                                const CalendarUpdate& update) {
    if (callbacks_set(on_update, on_ready)) {
        on_update(update);
    }
}

// The older call style: its own log line, and nothing for the codes a restart
// of the service explains.
std::optional<CalendarEventList> CalendarClientImpl::GetCalendarEvents(
    const CalendarEventsRequest& request) {
    CalendarEventList list;
    const grpc::Status status = clients::detail::invoke(stub(), &Stub::GetCalendarEvents, request,
                                                        list, call("GetCalendarEvents"));
    if (status.ok()) {
        return list;
    }
    const std::string code = GrpcStatusCodeToString(status.error_code());
    logger_.error("GetCalendarEvents failed: grpc error:{} code: {}", status.error_message(), code);
    if (!is_recoverable_status(status.error_code())) {
        throw std::runtime_error("GetCalendarEvents: unrecoverable grpc error: " + code);
    }
    return std::nullopt;
}

CalendarEventResponse CalendarClientImpl::GetCalendarEvent(const std::string& id) {
    return clients::call_or_throw(stub(), &Stub::GetCalendarEvent, event_request(id),
                                  call("GetCalendarEvent"));
}

void CalendarClientImpl::DismissCalendarEvent(const std::string& id) {
    clients::call_or_throw(stub(), &Stub::DismissCalendarEvent, event_request(id),
                           call("DismissCalendarEvent"));
}

void CalendarClientImpl::DismissCalendarEvents() {
    clients::call_or_throw(stub(), &Stub::DismissCalendarEvents, Empty(),
                           call("DismissCalendarEvents"));
}

}  // namespace vanta::calendar

namespace vanta {

std::unique_ptr<calendar::CalendarClient> create_calendar_client(Executor& executor,
                                                                 const Endpoint& endpoint) {
    return std::make_unique<calendar::CalendarClientImpl>(executor, endpoint);
}

}  // namespace vanta
