#include "plugins/ui_audio_path_plugin.h"

#include <string>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UiAudioPathEvent";
}  // namespace

UiAudioPathPlugin::UiAudioPathPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UiAudioPathPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            logger_.info("AUDIO_PATH_CHANGED");
            update_ui_audio_path_state(vantaapi::UiAudioPathState::AUDIO_PATH_CHANGED, 0);
            break;
        case 2: {
            // A path index without a leading number raises std::invalid_argument
            // (std::out_of_range beyond 32 bits) before anything is logged.
            const int index = std::stoi(message.msg().data());
            logger_.info("AUDIO_PATH_SELECTED");
            update_ui_audio_path_state(vantaapi::UiAudioPathState::AUDIO_PATH_SELECTED, index);
            break;
        }
        default:
            logger_.info("unknown audio path event");
            break;
    }
}

void UiAudioPathPlugin::update_ui_audio_path_state(vantaapi::UiAudioPathState::code state,
                                                   int current_path_index) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_new_ui_audio_path_state();
    payload->set_state(state);
    payload->set_current_path_index(current_path_index);
    publisher_.publish(event);
}

}  // namespace vanta
