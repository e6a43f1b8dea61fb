#include "clients/calendar/calendar_client_impl.h"

#include <stdexcept>

#include <google/protobuf/empty.pb.h>

#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/loggers.h"

namespace vanta::calendar {

namespace {
using Stub = Calendar::Stub;
using google::protobuf::Empty;

// The calendar service reads `subscribe` true as the start of a subscription
// and false as its end.
SubscriptionRequest subscription_request(bool subscribe) {
    SubscriptionRequest request;
    request.set_subscribe(subscribe);
    return request;
}

CalendarEventRequest event_request(const std::string& id) {
    CalendarEventRequest request;
    request.set_id(id);
    return request;
}
}  // namespace

CalendarClientImpl::CalendarClientImpl(Executor& executor, const std::string& name,
                                       const std::string& address)
    : GrpcClient(address),
      name_(name),
      logger_(logging::getLogger("CalendarClient")),
      subscription_("calendar::Subscribe", subscription_request(true), subscription_request(false),
                    &executor, logger_) {}

// The stream's reader thread calls into this client until the stream is closed.
CalendarClientImpl::~CalendarClientImpl() {
    Unsubscribe();
}

clients::UnaryCall CalendarClientImpl::call(const char* operation) const {
    return {name_, operation, kTimeout, logger_};
}

void CalendarClientImpl::Subscribe(const UpdateHandler& on_update) {
    Subscribe(on_update,
              subscription_.reconnecting(static_cast<bool>(on_update), [this, on_update] {
                  Unsubscribe();
                  refresh_channel();
                  Subscribe(on_update);
              }));
}

void CalendarClientImpl::Subscribe(const UpdateHandler& on_update, const Notification& on_closed) {
    subscription_.start(
        channel(), [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
        [this, on_update](const CalendarUpdate& update) {
            if (!on_update) {
                logger_.error("{}: Unable to handle event, callback is null",
                              "observed_event_handler");
                return;
            }
            on_update(update);
        },
        on_closed);
}

void CalendarClientImpl::Unsubscribe() {
    subscription_.stop();
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
                                                                 const std::string& name,
                                                                 const std::string& endpoint_name) {
    return std::make_unique<calendar::CalendarClientImpl>(executor, name,
                                                          "unix:/tmp/" + endpoint_name);
}

}  // namespace vanta
