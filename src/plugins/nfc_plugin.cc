#include "plugins/nfc_plugin.h"

namespace vanta {

NfcPlugin::NfcPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                     PluginRegistrar&, const Endpoint& nfc)
    : publisher_(publisher), client_(nfc::create_client(executor, nfc)) {
    client_->SetObserver([this](const nfc::CardState& state) { send_card_state(state); }, [] {});
}

// Both sides number the card states alike.
void NfcPlugin::send_card_state(nfc::CardState state) {
    vantaapi::VantaEvent event;
    event.mutable_card_state_changed()->set_state(vantaapi::CardState_IsValid(state)
                                                      ? static_cast<vantaapi::CardState>(state)
                                                      : vantaapi::CARD_UNKNOWN);
    publisher_.publish(event);
}

}  // namespace vanta
