#include "gateway/audio_microphones_mute_commands.h"

namespace vanta::zapi {

using nlohmann::json;

json AudioMicrophonesMuteCommand::schema() const {
    return no_arguments_schema();
}

json AudioMicrophonesMuteCommand::invoke(const json& /*arguments*/) const {
    const std::optional<bool> muted = client_->SetAudioMute(true, vantaapi::kMuteMethodServer);
    return muted && *muted ? succeeded_answer(nullptr) : failed_answer();
}

json AudioMicrophonesToggleMuteCommand::schema() const {
    return no_arguments_schema();
}

json AudioMicrophonesToggleMuteCommand::invoke(const json& /*arguments*/) const {
    return client_->ToggleAudioMute() ? succeeded_answer(nullptr) : failed_answer();
}

json AudioMicrophonesUnmuteCommand::schema() const {
    return no_arguments_schema();
}

json AudioMicrophonesUnmuteCommand::invoke(const json& /*arguments*/) const {
    const std::optional<bool> muted = client_->SetAudioMute(false, vantaapi::kMuteMethodServer);
    return muted && !*muted ? succeeded_answer(nullptr) : failed_answer();
}

}  // namespace vanta::zapi
