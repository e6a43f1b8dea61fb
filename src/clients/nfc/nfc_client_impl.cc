#include "clients/nfc/nfc_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::nfc {

namespace {
const std::string kAddress = "unix:/tmp/nfc";
const std::string kServiceName = "Nfc Service";
using Stub = Nfc::Stub;

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
      logger_(logging::getLogger("Nfc Client")),
      subscription_("nfc::SetObserver", subscription_request(false), subscription_request(true),
                    &executor, logger_) {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    RemoveObserver();
}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

void ClientImpl::SetObserver(const CardStateHandler& on_card_state, const Notification& on_ready) {
    SetObserver(
        on_card_state, on_ready,
        subscription_.reconnecting(on_card_state && on_ready, [this, on_card_state, on_ready] {
            RemoveObserver();
            refresh_channel();
            SetObserver(on_card_state, on_ready);
        }));
}

void ClientImpl::SetObserver(const CardStateHandler& on_card_state, const Notification& on_ready,
                             const Notification& on_closed) {
    subscription_.start(
        channel(), [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
        [this, on_card_state, on_ready](const Event& event) {
            observed_event_handler(on_card_state, on_ready, event);
        },
        on_closed);
}

void ClientImpl::RemoveObserver() {
    subscription_.stop();
}

void ClientImpl::observed_event_handler(const CardStateHandler& on_card_state,
                                        const Notification& on_ready, const Event& event) {
    if (!on_card_state || !on_ready) {
        logger_.error("{}: Unable to handle event, callback is null", "observed_event_handler");
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

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(executor, kAddress, timeout);
}

}  // namespace vanta::nfc
