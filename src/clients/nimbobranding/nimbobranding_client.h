#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "nimbobranding.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nimbobranding {

// The branding service: brand images, the carousel image and the digital
// signage server, and the stream that tells what of them changed. Every
// operation raises the GrpcException of a failed call.
//
// Observing (GrpcObservableClientBase): SetObserver(on_change, on_ready) calls
// `on_change` with what changed (every event but UNKNOWN_CHANGE and
// STREAM_STARTED) and `on_ready` when the service has started the stream.
class Client : public virtual GrpcObservableClientBase<EventType> {
  public:
    using ChangeHandler = EventHandler;
    using Notification = std::function<void()>;

    virtual BrandingList GetNimboBranding() = 0;
    // The carousel image's file.
    virtual std::string GetCarouselImage() = 0;
    // The signage server's URL.
    virtual std::string GetSignageServer() = 0;
    virtual void SetSignageServer(const std::string& url) = 0;
    virtual void StopSignageServer() = 0;
    virtual SignageState::State GetSignageState() = 0;
};

// A client of the branding service at `endpoint` (the catalogue's nimbobranding
// row). Reconnection of the event stream runs on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::nimbobranding
