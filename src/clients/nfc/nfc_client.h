#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "nfc.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nfc {

// The NFC service: the state of the card on the reader and its changes.
// GetCardState raises the GrpcException of a failed call.
class Client : public GrpcClientBase {
  public:
    using CardStateHandler = std::function<void(CardState)>;
    using Notification = std::function<void()>;

    // Observes the card: `on_card_state` for every change, `on_ready` when the
    // service has started the stream. When the stream ends while still
    // observed, it is set up again on a new channel by work queued on the
    // client's executor. Throws std::runtime_error while already observing.
    virtual void SetObserver(const CardStateHandler& on_card_state,
                             const Notification& on_ready) = 0;
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    virtual void SetObserver(const CardStateHandler& on_card_state, const Notification& on_ready,
                             const Notification& on_closed) = 0;
    // Tells the service that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;

    virtual CardState GetCardState() = 0;
};

// A client of "unix:/tmp/nfc"; every call has a deadline of `timeout`.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::nfc
