#include "gateway/vantaapi_client_impl.h"

#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/log_concealer.h"
#include "runtime/logging/loggers.h"
#include "runtime/logging/nlog.h"
#include "runtime/main_loop.h"
#include "runtime/thread_name.h"
#include "runtime/tracing/grpc_tracing.h"

namespace vanta {

namespace {

constexpr char kLoggerName[] = "VantaApiClient";
constexpr std::chrono::seconds kCallDeadline{60};
constexpr std::chrono::milliseconds kExecutorPeriod{1000};

// Operations whose requests or answers carry values that identify a person or
// are credentials (proxy settings, accounts, paired users, network secrets):
// the service's error text may quote them, so it is not logged as it is.
const std::set<std::string> kOperationsWithPersonalValues = {
    "GetProxyInfo",
    "SetProxyConfig",
    "GetPairedUsers",
    "GetLatestPairingToken",
    "GetGuestToken",
    "GetManualPairPin",
    "GetAccountInfo",
    "GetSharedAccountInfo",
    "GetAccountDetails",
    "CreateAccount",
    "DeleteAccount",
    "ListAccountStates",
    "ProvideLobbyAuthentication",
    "SetWifiConfig",
    "GetWifiConfig",
    "SetLocalAPConfig",
    "GetLocalAPConfig",
    "Wired8021xConfigure",
    "Wired8021xGetConfigInfo",
};

std::string loggable_error_text(const std::string& operation, const std::string& text) {
    if (logconcealer::pii_mode_enabled() && kOperationsWithPersonalValues.count(operation) != 0) {
        return logconcealer::generate_conceal_text(text);
    }
    return text;
}

}  // namespace

VantaApiClientImpl::VantaApiClientImpl(const std::string& address,
                                       std::chrono::milliseconds timeout)
    : GrpcClient(address),
      logger_(logging::getLogger(kLoggerName)),
      tracer_(tracing::create_tracer()),
      timeout_(timeout),
      executor_(logger_),
      executor_thread_([this] {
          set_thread_name("vantaapi_client");
          run_main_loop(
              executor_, [this] { return executor_.stopped(); }, kExecutorPeriod);
      }),
      subscription_([this] { return channel(); },
                    [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
                    executor_, logger_) {}

VantaApiClientImpl::~VantaApiClientImpl() {
    // Callbacks stop first; the subscription then closes its stream with
    // nobody left to run what it queues.
    executor_.time_to_quit();
    executor_thread_.join();
}

template <typename Request, typename Response>
std::optional<Response> VantaApiClientImpl::call(const char* operation,
                                                 StubMethod<Request, Response> method,
                                                 const Request& request) {
    return call(operation, method, request, [](const Response& response) { return response; });
}

template <typename Request, typename Response, typename Extract>
auto VantaApiClientImpl::call(const char* operation, StubMethod<Request, Response> method,
                              const Request& request, Extract extract)
    -> std::optional<decltype(extract(std::declval<Response>()))> {
    const auto span = tracer_->start_span(std::string("VantaApiClient::") + operation,
                                          tracing::StartSpanOptions());
    grpc::ClientContext context;
    grpctracing::store_span_context(context, span->context());
    context.set_deadline(std::chrono::system_clock::now() + kCallDeadline);
    Response response;
    const grpc::Status status = (stub().*method)(&context, request, &response);
    if (!status.ok()) {
        handle_grpc_error(operation, status);
        return std::nullopt;
    }
    return extract(response);
}

void VantaApiClientImpl::SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                                   const Notification& on_started) {
    subscription_.subscribe(on_event, on_started);
}

void VantaApiClientImpl::SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                                   const Notification& on_started,
                                                   const Notification& on_ended) {
    subscription_.subscribe(on_event, on_started, on_ended);
}

void VantaApiClientImpl::UnsubscribeToFeedbackEvents() {
    subscription_.unsubscribe();
}

std::optional<bool> VantaApiClientImpl::Reboot(bool force) {
    vantaapi::RebootRequest request;
    request.set_force(force);
    return call("Reboot", &Stub::Reboot, request,
                [](const vantaapi::RequestStatus& status) { return status.success(); });
}

std::optional<bool> VantaApiClientImpl::SetAudioMute(bool mute, vantaapi::MuteMethod method) {
    vantaapi::MuteRequest request;
    request.set_mute_state(mute);
    request.set_method(method);
    return call("SetAudioMute", &Stub::SetAudioMute, request,
                [](const vantaapi::MuteStatus& status) { return status.is_mute(); });
}

std::optional<bool> VantaApiClientImpl::ToggleAudioMute() {
    return call("ToggleAudioMute", &Stub::ToggleAudioMute, google::protobuf::Empty(),
                [](const vantaapi::MuteStatus& status) { return status.is_mute(); });
}

std::optional<bool> VantaApiClientImpl::IsAudioMute() {
    return call("IsAudioMute", &Stub::IsAudioMute, google::protobuf::Empty(),
                [](const vantaapi::MuteStatus& status) { return status.is_mute(); });
}

vantaapi::CalendarEventList VantaApiClientImpl::GetCalendarEvents() {
    return call("GetCalendarEvents", &Stub::GetCalendarEvents, vantaapi::CalendarEventsRequest())
        .value_or(vantaapi::CalendarEventList());
}

#define VANTA_API_OPERATION(Op, Request, Response)                           \
    std::optional<Response> VantaApiClientImpl::Op(const Request& request) { \
        return call(#Op, &Stub::Op, request);                                \
    }
#define VANTA_API_OPERATION_WITH_OWN_SIGNATURE(Op, Request, Response)
#include "gateway/vantaapi_operations.inc"
#undef VANTA_API_OPERATION
#undef VANTA_API_OPERATION_WITH_OWN_SIGNATURE

void VantaApiClientImpl::handle_grpc_error(const std::string& operation,
                                           const grpc::Status& status) const {
    const std::string code = GrpcStatusCodeToString(status.error_code());
    logger_.error("{} failed, grpc error: {}, code: {}", operation,
                  loggable_error_text(operation, status.error_message()), code);
    if (status.error_code() == grpc::StatusCode::DEADLINE_EXCEEDED) {
        nlog::create_logger(kLoggerName)
            .log(metricsdispatch::DEBUG, "Vanta.Api.Debug",
                 {{"grpcError", code}, {"vantaApiName", operation}});
    }
    if (is_recoverable_status(status.error_code())) {
        return;
    }
    logger_.error("{}: unrecoverable grpc error", operation);
    throw std::runtime_error(operation + ": unrecoverable grpc error: " + code);
}

std::unique_ptr<VantaApiClient> create_vantaapi_client(const std::string& address,
                                                       std::chrono::milliseconds timeout) {
    return std::make_unique<VantaApiClientImpl>(address, timeout);
}

}  // namespace vanta
