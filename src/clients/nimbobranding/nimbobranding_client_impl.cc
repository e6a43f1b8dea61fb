#include "clients/nimbobranding/nimbobranding_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::nimbobranding {

namespace {
const std::string kAddress = "unix:/tmp/nimbobranding_service";
const std::string kServiceName = "Nimbo Branding Service";
using Stub = NimboBranding::Stub;
using google::protobuf::Empty;

SubscriptionRequest subscription_request(bool unsubscribe) {
    SubscriptionRequest request;
    request.set_unsubscribe(unsubscribe);
    return request;
}
}  // namespace

ClientImpl::ClientImpl(Executor& executor, const std::string& address,
                       std::chrono::milliseconds timeout)
    : GrpcClient(address),
      timeout_(timeout),
      logger_(logging::getLogger("NimboBrandingClient")),
      subscription_("nimbobranding::SetObserver", subscription_request(false),
                    subscription_request(true), &executor, logger_) {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    RemoveObserver();
}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

void ClientImpl::SetObserver(const ChangeHandler& on_change, const Notification& on_ready) {
    SetObserver(on_change, on_ready,
                subscription_.reconnecting(on_change && on_ready, [this, on_change, on_ready] {
                    RemoveObserver();
                    refresh_channel();
                    SetObserver(on_change, on_ready);
                }));
}

void ClientImpl::SetObserver(const ChangeHandler& on_change, const Notification& on_ready,
                             const Notification& on_closed) {
    subscription_.start(
        channel(), [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
        [this, on_change, on_ready](const Event& event) {
            observed_event_handler(on_change, on_ready, event);
        },
        on_closed);
}

void ClientImpl::RemoveObserver() {
    subscription_.stop();
}

void ClientImpl::observed_event_handler(const ChangeHandler& on_change,
                                        const Notification& on_ready, const Event& event) {
    if (!on_change || !on_ready) {
        logger_.error("{}: Unable to handle event, callback is null", "observed_event_handler");
        return;
    }
    switch (event.what()) {
        case UNKNOWN_CHANGE:
            logger_.info("observed_event_handler UNKNOWN_CHANGE");
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

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(executor, kAddress, timeout);
}

}  // namespace vanta::nimbobranding
