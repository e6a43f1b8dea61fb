#pragma once

#include <functional>

#include "rpc/client/grpc_client_base.h"

namespace vanta {

// A backend client whose backend publishes events over a stream. A backend's
// client interface inherits it virtually. Observers get each `Event` through
// an `EventHandler`; a backend whose observers want more than one value per
// event (an account's change and its id) names its own handler type.
template <typename Event, typename Handler = std::function<void(const Event&)>>
class GrpcObservableClientBase : public GrpcClientBase {
  public:
    using EventHandler = Handler;

    ~GrpcObservableClientBase() override = default;

    // Observes the backend's events; `on_disconnect` hears the backend's own
    // notices about its stream (for most backends: the stream has started).
    // When the stream ends it is set up again (on a new channel) by work
    // queued on the client's executor. Throws std::runtime_error while
    // already observing.
    virtual void SetObserver(const EventHandler& on_event,
                             const std::function<void()>& on_disconnect) = 0;
    // As above, but `on_stream_end` is called on the stream's reader thread
    // when the stream ends, and the caller decides what follows.
    virtual void SetObserver(const EventHandler& on_event,
                             const std::function<void()>& on_disconnect,
                             const std::function<void()>& on_stream_end) = 0;
    // Tells the backend that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;
};

}  // namespace vanta
