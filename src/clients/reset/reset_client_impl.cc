#include "clients/reset/reset_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
using Stub = reset::Reset::Stub;
}  // namespace

ResetClientImpl::ResetClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall ResetClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

bool ResetClientImpl::FactoryReset() {
    return clients::call_or_throw(stub(), &Stub::FactoryReset, google::protobuf::Empty(),
                                  call("FactoryReset"))
        .success();
}

bool ResetClientImpl::RequestFactoryReset() {
    return clients::call_or_throw(stub(), &Stub::RequestFactoryReset, google::protobuf::Empty(),
                                  call("RequestFactoryReset"))
        .success();
}

bool ResetClientImpl::RestartNetwork() {
    return clients::call_or_throw(stub(), &Stub::RestartNetwork, google::protobuf::Empty(),
                                  call("RestartNetwork"))
        .success();
}

bool ResetClientImpl::Shutdown() {
    return clients::call_or_throw(stub(), &Stub::Shutdown, google::protobuf::Empty(),
                                  call("Shutdown"))
        .success();
}

std::unique_ptr<ResetClient> create_reset_client(const Endpoint& endpoint) {
    return std::make_unique<ResetClientImpl>(endpoint, logging::getLogger("ResetClient"));
}

}  // namespace vanta
