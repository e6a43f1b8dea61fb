#include "clients/nimboultrasound/nimboultrasound_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::nimboultrasound {

namespace {
const std::string kServiceName = "Nimbo Ultrasound Service";
const std::string kDefaultAddress = "unix:/tmp/nimboultrasound_service";
constexpr std::chrono::milliseconds kLookupTimeout = 500ms;
using Stub = NimboUltraSoundSvc::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout)
    : GrpcClient(address), timeout_(timeout), logger_(logging::getLogger(kServiceName)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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
                                  call("GetPairedUsers"));
}

std::optional<std::string> ClientImpl::GetLatestPairingToken() {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::GetLatestPairingToken, google::protobuf::Empty(),
                               call("GetLatestPairingToken"));
    return reply ? std::optional<std::string>(reply->token()) : std::nullopt;
}

}  // namespace vanta::nimboultrasound

namespace vanta {

std::unique_ptr<nimboultrasound::Client> create_nimbo_ultrasound_client(
    std::chrono::milliseconds timeout) {
    return std::make_unique<nimboultrasound::ClientImpl>(
        lookup_service_address(nimboultrasound::kServiceName, nimboultrasound::kDefaultAddress,
                               nimboultrasound::kLookupTimeout),
        timeout);
}

}  // namespace vanta
