#include "clients/ieee8021x/ieee8021x_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
const std::string kServiceName = "Ieee8021xService";
const std::string kAddress = "unix:/tmp/ieee8021x_service";
constexpr std::chrono::milliseconds kTimeout{2000};
using Stub = ieee8021x::Ieee8021x::Stub;
}  // namespace

Ieee8021xClientImpl::Ieee8021xClientImpl(const std::string& address,
                                         std::chrono::milliseconds timeout, logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall Ieee8021xClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<Ieee8021xClient> create_ieee8021x_service_client() {
    return std::make_unique<Ieee8021xClientImpl>(kAddress, kTimeout,
                                                 logging::getLogger("Ieee8021xClient"));
}

}  // namespace vanta
