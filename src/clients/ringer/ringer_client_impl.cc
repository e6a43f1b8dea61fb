#include "clients/ringer/ringer_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::ringer {

namespace {
using Stub = Ringer::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

bool ClientImpl::StartRinger(const std::string& name) {
    RingerData data;
    data.set_name(name);
    return clients::call_or_throw(stub(), &Stub::StartRinger, data, call("StartRinger")).success();
}

bool ClientImpl::StopRinger() {
    return clients::call_or_throw(stub(), &Stub::StopRinger, google::protobuf::Empty(),
                                  call("StopRinger"))
        .success();
}

std::unique_ptr<Client> create_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, logging::getLogger("RingerClient"));
}

}  // namespace vanta::ringer
