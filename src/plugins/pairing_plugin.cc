#include "plugins/pairing_plugin.h"

#include "rpc/client/grpc_exception_handler.h"
#include "runtime/logging/log_concealer.h"
#include "runtime/logging/loggers.h"

namespace vanta {

PairingPlugin::PairingPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar, const Endpoint& nimboultrasound)
    : publisher_(publisher),
      logger_(logging::getLogger("VantaApi")),
      client_(create_nimbo_ultrasound_client(nimboultrasound)) {
    registrar.register_event_handler(
        "NimboUltrasoundEvent",
        [this](const pubsub::PubSubMessage& message) { handle_pairing_event(message); });
    registrar.register_event_handler(
        "GuestTokenEvent",
        [this](const pubsub::PubSubMessage& message) { handle_guest_token_event(message); });
    registrar.register_event_handler(
        "ManualPairEvent",
        [this](const pubsub::PubSubMessage& message) { handle_manual_pair_event(message); });
}

void PairingPlugin::update_status(vantaapi::UserDetectionState::Code state, const std::string& data,
                                  const std::string& uuid) {
    vantaapi::VantaEvent event;
    auto* detection = event.mutable_new_userdetection_state();
    detection->set_state(state);
    detection->set_data(data);
    detection->set_uuid(uuid);
    publisher_.publish(event);
}

void PairingPlugin::publish_token_event(vantaapi::PairingTokenEvent::ChangeType what) {
    vantaapi::VantaEvent event;
    event.mutable_pairing_token_event()->set_what(what);
    publisher_.publish(event);
}

void PairingPlugin::handle_pairing_event(const pubsub::PubSubMessage& message) {
    if (message.msg().topic() != "NimboUltrasoundEvent") {
        return;
    }
    // The paired user's name and id reach subscribers in plain, the log only
    // concealed.
    using logconcealer::generate_conceal_text;
    switch (message.msg().event()) {
        case 1: {
            const std::string name = message.get_option("username");
            const std::string uuid = message.get_option("uuid");
            logger_.info("VantaApi PairingPlugin Paired EVENT - Name:{}, UUID:[{}]",
                         generate_conceal_text(name), generate_conceal_text(uuid));
            update_status(vantaapi::UserDetectionState::DEVICE_PAIRING, name, uuid);
            break;
        }
        case 2: {
            const std::string name = message.get_option("username");
            const std::string uuid = message.get_option("uuid");
            logger_.info("VantaApi PairingPlugin Unpairing EVENT - Name:{}, UUID:[{}]",
                         generate_conceal_text(name), generate_conceal_text(uuid));
            update_status(vantaapi::UserDetectionState::DEVICE_UNPAIRING, name, uuid);
            break;
        }
        case 3:
            logger_.info("{}", "VantaApi PairingPlugin All Unpaired EVENT");
            update_status(vantaapi::UserDetectionState::ALL_DEVICES_UNPAIR, "", "");
            break;
        case 4:
            update_status(vantaapi::UserDetectionState::NEW_TOKEN_PLAYING, "", "");
            break;
        default:
            break;
    }
}

void PairingPlugin::handle_guest_token_event(const pubsub::PubSubMessage& message) {
    if (message.msg().topic() == "GuestTokenEvent" && message.msg().event() == 1) {
        logger_.info("{}", "VantaApi PairingPlugin guest token changed event");
        publish_token_event(vantaapi::PairingTokenEvent::GUEST_TOKEN_CHANGED);
    }
}

void PairingPlugin::handle_manual_pair_event(const pubsub::PubSubMessage& message) {
    if (message.msg().topic() == "ManualPairEvent" && message.msg().event() == 1) {
        logger_.info("{}", "VantaApi PairingPlugin manual pairing pin changed event");
        publish_token_event(vantaapi::PairingTokenEvent::MANUAL_PAIR_PIN_CHANGED);
    }
}

grpc::Status PairingPlugin::get_guest_token(grpc::ServerContext*, const google::protobuf::Empty*,
                                            vantaapi::TokenResponse* response) {
    return grpc_exception_handler("get_guest_token",
                                  [&] { response->set_token(client_->GetGuestToken()); });
}

grpc::Status PairingPlugin::get_manual_pair_pin(grpc::ServerContext*,
                                                const google::protobuf::Empty*,
                                                vantaapi::ManualPairChallenge* response) {
    return grpc_exception_handler("get_manual_pair_pin",
                                  [&] { response->set_pin(client_->GetManualPairPin()); });
}

}  // namespace vanta
