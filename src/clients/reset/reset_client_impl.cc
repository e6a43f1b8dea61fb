#include "clients/reset/reset_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
const std::string kServiceName = "ResetService";
const std::string kAddress = "unix:/tmp/reset_service";
constexpr std::chrono::milliseconds kTimeout{2000};
using Stub = reset::Reset::Stub;
}  // namespace

ResetClientImpl::ResetClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                                 logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall ResetClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<ResetClient> create_reset_client() {
    return std::make_unique<ResetClientImpl>(kAddress, kTimeout, logging::getLogger("ResetClient"));
}

}  // namespace vanta
