#include "clients/ringer/ringer_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::ringer {

namespace {
const std::string kServiceName = "Ringer Service";
using Stub = Ringer::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<Client> create_client(const std::string& address,
                                      std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(address, timeout, logging::getLogger("RingerClient"));
}

}  // namespace vanta::ringer
