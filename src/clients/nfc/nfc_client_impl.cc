#include "clients/nfc/nfc_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::nfc {

namespace {
using Stub = Nfc::Stub;
}  // namespace

ClientImpl::ClientImpl(Executor& executor, const Endpoint& endpoint)
    : ObservingClient(endpoint, &executor, logging::getLogger("Nfc Client"), "nfc::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const CardStateHandler& on_card_state,
                                        const Notification& on_ready, const Event& event) {
    if (!callbacks_set(on_card_state, on_ready)) {
        return;
    }
    switch (event.data_case()) {
        case Event::kStreamStarted:
            on_ready();
            break;
        case Event::kCardStateChanged:
            on_card_state(event.card_state_changed().state());
            break;
        case Event::DATA_NOT_SET:
            break;
    }
}

CardState ClientImpl::GetCardState() {
    return clients::call_or_throw(stub(), &Stub::GetCardState, google::protobuf::Empty(),
                                  call("GetCardState"))
        .state();
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(executor, endpoint);
}

}  // namespace vanta::nfc
