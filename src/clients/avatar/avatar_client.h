#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "avatar.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::avatar {

// The avatar service: fetches a person's picture; the picture's location is
// announced later on the service's event stream.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    // Asks for the avatar of `uuid` at `size`; raises the GrpcException of a
    // failure.
    virtual void GetAvatar(const std::string& uuid, int32_t size) = 0;
};

// A client of the avatar service at `endpoint` (the catalogue's avatar row). The
// event stream reconnects on `executor`.
std::unique_ptr<Client> create_avatar_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::avatar
