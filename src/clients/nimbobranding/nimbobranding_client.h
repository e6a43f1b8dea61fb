#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "nimbobranding.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nimbobranding {

// The branding service: brand images, the carousel image and the digital
// signage server, and the stream that tells what of them changed. Every
// operation raises the GrpcException of a failed call.
class Client : public GrpcClientBase {
  public:
    using ChangeHandler = std::function<void(EventType)>;
    using Notification = std::function<void()>;

    // Observes the service: `on_change` with what changed (every event but
    // UNKNOWN_CHANGE and STREAM_STARTED), `on_ready` when the service has
    // started the stream. When the stream ends while still observed, it is set
    // up again on a new channel by work queued on the client's executor.
    // Throws std::runtime_error while already observing.
    virtual void SetObserver(const ChangeHandler& on_change, const Notification& on_ready) = 0;
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    virtual void SetObserver(const ChangeHandler& on_change, const Notification& on_ready,
                             const Notification& on_closed) = 0;
    // Tells the service that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;

    virtual BrandingList GetNimboBranding() = 0;
    // The carousel image's file.
    virtual std::string GetCarouselImage() = 0;
    // The signage server's URL.
    virtual std::string GetSignageServer() = 0;
    virtual void SetSignageServer(const std::string& url) = 0;
    virtual void StopSignageServer() = 0;
    virtual SignageState::State GetSignageState() = 0;
};

// A client of "unix:/tmp/nimbobranding_service"; every call has a deadline of
// `timeout`.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::nimbobranding
