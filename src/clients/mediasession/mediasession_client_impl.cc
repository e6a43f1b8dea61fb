#include "clients/mediasession/mediasession_client_impl.h"

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::mediasession {

namespace {
const std::string kRegistryName = "mediasession_service";
const std::string kDefaultAddress = "unix:/tmp/mediasession_service";
const std::string kServiceName = "MediasessionClient";
constexpr std::chrono::milliseconds kLookupTimeout = 500ms;
// Subscribing to a remote stream is answered once the media session took the
// request, not when the video flows.
constexpr std::chrono::milliseconds kTimeout = 2000ms;
using Stub = MediaSession::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout)
    : GrpcClient(address), timeout_(timeout), logger_(logging::getLogger(kServiceName)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

bool ClientImpl::SubscribeRemoteVideo(const SubRemoteVideo& request) {
    return clients::call_or_throw(stub(), &Stub::SubscribeRemoteVideo, request,
                                  call("SubscribeRemoteVideo"))
        .success();
}

bool ClientImpl::UnSubscribeRemoteVideo(const std::vector<uint32_t>& virtual_ids) {
    UnSubRemoteVideo request;
    request.mutable_virtual_id()->Add(virtual_ids.begin(), virtual_ids.end());
    return clients::call_or_throw(stub(), &Stub::UnSubscribeRemoteVideo, request,
                                  call("UnSubscribeRemoteVideo"))
        .success();
}

}  // namespace vanta::mediasession

namespace vanta {

std::unique_ptr<mediasession::Client> create_mediasession_client(
    std::optional<std::reference_wrapper<Executor>> /*executor*/) {
    return std::make_unique<mediasession::ClientImpl>(
        lookup_service_address(mediasession::kRegistryName, mediasession::kDefaultAddress,
                               mediasession::kLookupTimeout),
        mediasession::kTimeout);
}

}  // namespace vanta
