#pragma once

#include <functional>

#include "rpc/client/grpc_client_base.h"

namespace vanta {

// A backend client whose backend publishes events over a stream. A backend's
// client interface inherits it virtually.
template <typename Event>
class GrpcObservableClientBase : public GrpcClientBase {
  public:
    ~GrpcObservableClientBase() override = default;

    // Observes the backend's events; when the stream ends it is set up again
    // (on a new channel) by work queued on the client's executor.
    virtual void SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_disconnect) = 0;
    // Observes the backend's events; `on_stream_end` is called on the stream's
    // reader thread when the stream ends, and the caller decides what follows.
    virtual void SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_disconnect,
                             const std::function<void()>& on_stream_end) = 0;
    // Tells the backend that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;
};

}  // namespace vanta
