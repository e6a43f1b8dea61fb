#include "clients/mediasession/mediasession_client_impl.h"

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::mediasession {

namespace {
using Stub = MediaSession::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(endpoint.service_name)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
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
    std::optional<std::reference_wrapper<Executor>> /*executor*/, const Endpoint& endpoint) {
    return std::make_unique<mediasession::ClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta
