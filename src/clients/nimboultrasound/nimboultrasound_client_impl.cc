#include "clients/nimboultrasound/nimboultrasound_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::nimboultrasound {

namespace {
using Stub = NimboUltraSoundSvc::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(endpoint.service_name)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

std::optional<bool> ClientImpl::Enable() {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::Enable, google::protobuf::Empty(), call("Enable"));
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}

std::optional<bool> ClientImpl::Disable() {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::Disable, google::protobuf::Empty(), call("Disable"));
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}

std::optional<NimboUltraSoundState> ClientImpl::GetServiceState() {
    const auto reply = clients::call_or_empty(stub(), &Stub::GetServiceState,
                                              google::protobuf::Empty(), call("GetServiceState"));
    return reply ? std::optional<NimboUltraSoundState>(reply->state()) : std::nullopt;
}

std::optional<PairedUsers> ClientImpl::GetPairedUsers() {
    return clients::call_or_empty(stub(), &Stub::GetPairedUsers, google::protobuf::Empty(),
                                  clients::with_personal_values(call("GetPairedUsers")));
}

std::optional<std::string> ClientImpl::GetLatestPairingToken() {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::GetLatestPairingToken, google::protobuf::Empty(),
                               call("GetLatestPairingToken"));
    return reply ? std::optional<std::string>(reply->token()) : std::nullopt;
}

std::string ClientImpl::GetGuestToken() {
    return clients::call_or_throw(stub(), &Stub::GetGuestToken, google::protobuf::Empty(),
                                  call("GetGuestToken"))
        .token();
}

std::string ClientImpl::GetManualPairPin() {
    return clients::call_or_throw(stub(), &Stub::GetManualPairPin, google::protobuf::Empty(),
                                  call("GetManualPairPin"))
        .pin();
}

}  // namespace vanta::nimboultrasound

namespace vanta {

std::unique_ptr<nimboultrasound::Client> create_nimbo_ultrasound_client(const Endpoint& endpoint) {
    return std::make_unique<nimboultrasound::ClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta
