#include "clients/nimbobranding/nimbobranding_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::nimbobranding {

namespace {
using Stub = NimboBranding::Stub;
using google::protobuf::Empty;
}  // namespace

ClientImpl::ClientImpl(Executor& executor, const Endpoint& endpoint)
    : ObservingClient(endpoint, &executor, logging::getLogger("NimboBrandingClient"),
                      "nimbobranding::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const ChangeHandler& on_change,
                                        const Notification& on_ready, const Event& event) {
    if (!callbacks_set(on_change, on_ready)) {
        return;
    }
    switch (event.what()) {
        case UNKNOWN_CHANGE:
            logger().info("observed_event_handler UNKNOWN_CHANGE");
            break;
        case STREAM_STARTED:
            on_ready();
            break;
        case NIMBO_BRANDING_CHANGED:
        case CAROUSEL_IMAGE_CHANGED:
        case SIGNAGE_SERVER_CHANGED:
        case RENDER_IMAGES:
        case RENDER_VIDEO:
        case SIGNAGE_STARTED:
        case SIGNAGE_STOPPED:
            on_change(event.what());
            break;
        default:
            // A kind of change this client does not know yet.
            break;
    }
}

BrandingList ClientImpl::GetNimboBranding() {
    return clients::call_or_throw(stub(), &Stub::GetNimboBranding, Empty(),
                                  call("GetNimboBranding"));
}

std::string ClientImpl::GetCarouselImage() {
    return clients::call_or_throw(stub(), &Stub::GetCarouselImage, Empty(),
                                  call("GetCarouselImage"))
        .file();
}

std::string ClientImpl::GetSignageServer() {
    return clients::call_or_throw(stub(), &Stub::GetSignageServer, Empty(),
                                  call("GetSignageServer"))
        .url();
}

void ClientImpl::SetSignageServer(const std::string& url) {
    ServerInfo server;
    server.set_url(url);
    clients::call_or_throw(stub(), &Stub::SetSignageServer, server, call("SetSignageServer"));
}

void ClientImpl::StopSignageServer() {
    clients::call_or_throw(stub(), &Stub::StopSignageServer, Empty(), call("StopSignageServer"));
}

SignageState::State ClientImpl::GetSignageState() {
    return clients::call_or_throw(stub(), &Stub::GetSignageState, Empty(), call("GetSignageState"))
        .state();
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(executor, endpoint);
}

}  // namespace vanta::nimbobranding
