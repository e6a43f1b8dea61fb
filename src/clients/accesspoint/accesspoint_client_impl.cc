#include "clients/accesspoint/accesspoint_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::accesspoint {

namespace {
using Stub = AccessPoint::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(endpoint.service_name)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
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

std::unique_ptr<accesspoint::Client> create_ap_service_client(const Endpoint& endpoint) {
    return std::make_unique<accesspoint::ClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta
