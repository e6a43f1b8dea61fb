#include "clients/nimboconfigmanager/nimboconfigmanager_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::nimboconfigmanager {

namespace {
using Stub = Configuration::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, logging::getLogger("NimboConfigManagerClient"),
                      "nimboconfigmanager::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.what() == STREAM_STARTED);
}

std::optional<AccountInfo> ClientImpl::GetAccountInfo() {
    return clients::call_or_empty(stub(), &Stub::GetAccountInfo, AccountInfoRequest(),
                                  call("GetAccountInfo"));
}

std::optional<AccountInfo> ClientImpl::GetSharedAccountInfo() {
    return clients::call_or_empty(stub(), &Stub::GetSharedAccountInfo, AccountInfoRequest(),
                                  call("GetSharedAccountInfo"));
}

std::optional<ServiceMap> ClientImpl::GetServiceMap() {
    return clients::call_or_empty(stub(), &Stub::GetServiceMap, google::protobuf::Empty(),
                                  call("GetServiceMap"));
}

std::string ClientImpl::GetPairingId() {
    return clients::call_or_throw(stub(), &Stub::GetPairingId, google::protobuf::Empty(),
                                  call("GetPairingId"))
        .uuid();
}

}  // namespace vanta::nimboconfigmanager

namespace vanta {

std::unique_ptr<nimboconfigmanager::Client> create_nimboconfigmanager_client(
    Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<nimboconfigmanager::ClientImpl>(endpoint, &executor);
}

}  // namespace vanta
