#include "clients/accesspoint/accesspoint_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::accesspoint {

namespace {
const std::string kServiceName = "Access Point Service";
const std::string kDefaultAddress = "unix:/tmp/ap_service";
constexpr std::chrono::milliseconds kLookupTimeout = 500ms;
// Switching the access point on or off waits for the radio to switch.
constexpr std::chrono::milliseconds kTimeout = 2000ms;
using Stub = AccessPoint::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout)
    : GrpcClient(address), timeout_(timeout), logger_(logging::getLogger(kServiceName)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

APModeState ClientImpl::GetAPModeState() {
    return clients::call_or_throw(stub(), &Stub::GetAPModeState, google::protobuf::Empty(),
                                  call("GetAPModeState"))
        .state();
}

bool ClientImpl::SetAPModeState(APModeState state) {
    StateRequest request;
    request.set_state(state);
    return clients::call_or_throw(stub(), &Stub::SetAPModeState, request, call("SetAPModeState"))
        .enable();
}

LocalAPConfiguration ClientImpl::GetLocalAPConfig() {
    return clients::call_or_throw(stub(), &Stub::GetLocalAPConfig, google::protobuf::Empty(),
                                  call("GetLocalAPConfig"));
}

bool ClientImpl::SetLocalAPConfig(const LocalAPConfiguration& config) {
    return clients::call_or_throw(stub(), &Stub::SetLocalAPConfig, config, call("SetLocalAPConfig"))
        .success();
}

}  // namespace vanta::accesspoint

namespace vanta {

std::unique_ptr<accesspoint::Client> create_ap_service_client() {
    return std::make_unique<accesspoint::ClientImpl>(
        lookup_service_address(accesspoint::kServiceName, accesspoint::kDefaultAddress,
                               accesspoint::kLookupTimeout),
        accesspoint::kTimeout);
}

}  // namespace vanta
