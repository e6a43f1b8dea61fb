#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "nfc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nfc {

// The NFC service: the state of the card on the reader and its changes.
// GetCardState raises the GrpcException of a failed call.
//
// Observing (GrpcObservableClientBase): SetObserver(on_card_state, on_ready)
// calls `on_card_state` with the card's state at every change and `on_ready`
// when the service has started the stream.
class Client : public virtual GrpcObservableClientBase<CardState> {
  public:
    using CardStateHandler = EventHandler;
    using Notification = std::function<void()>;

    virtual CardState GetCardState() = 0;
};

// A client of the NFC service at `endpoint` (the catalogue's nfc row).
// Reconnection of the event stream runs on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::nfc
