#include "gateway/audio_microphones_mute_status.h"

#include "gateway/json_schema.h"

namespace vanta::zapi {

using nlohmann::json;

json AudioMicrophonesMuteStatus::schema() const {
    return {{"arguments", nullptr},
            {"body", nullptr},
            {"result", json::object({json_schema::enum_schema({"On", "Off"}, std::nullopt)})}};
}

json AudioMicrophonesMuteStatus::invoke(const json& /*arguments*/) const {
    const std::optional<bool> muted = client_->IsAudioMute();
    if (!muted) {
        return nullptr;
    }
    return {{"value", *muted ? "On" : "Off"}};
}

}  // namespace vanta::zapi
