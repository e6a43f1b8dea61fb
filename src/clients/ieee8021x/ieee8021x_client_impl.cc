#include "clients/ieee8021x/ieee8021x_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
using Stub = ieee8021x::Ieee8021x::Stub;
}  // namespace

Ieee8021xClientImpl::Ieee8021xClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall Ieee8021xClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

ieee8021x::Ieee8021xConfig Ieee8021xClientImpl::GetIeee8021xConfig() {
    return clients::call_or_throw(stub(), &Stub::GetIeee8021xConfig, google::protobuf::Empty(),
                                  call("GetIeee8021xConfig"))
        .config();
}

bool Ieee8021xClientImpl::GetIeee8021xState() {
    return clients::call_or_throw(stub(), &Stub::GetIeee8021xState, google::protobuf::Empty(),
                                  call("GetIeee8021xState"))
        .state()
        .enabled();
}

bool Ieee8021xClientImpl::SetIeee8021xState(bool enabled) {
    ieee8021x::Ieee8021xState request;
    request.set_enabled(enabled);
    return clients::call_or_throw(stub(), &Stub::SetIeee8021xState, request,
                                  call("SetIeee8021xState"))
        .success();
}

ieee8021x::RequestStatus Ieee8021xClientImpl::SetIeee8021xConfig(
    const ieee8021x::Ieee8021xConfig& config) {
    return clients::call_or_throw(stub(), &Stub::SetIeee8021xConfig, config,
                                  call("SetIeee8021xConfig"));
}

std::unique_ptr<Ieee8021xClient> create_ieee8021x_service_client(const Endpoint& endpoint) {
    return std::make_unique<Ieee8021xClientImpl>(endpoint, logging::getLogger("Ieee8021xClient"));
}

}  // namespace vanta
