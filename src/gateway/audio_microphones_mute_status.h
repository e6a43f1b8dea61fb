#pragma once

#include "gateway/zapi.h"

namespace vanta::zapi {

// Status "Audio.Microphones.Mute": {"value": "On"} when the microphones are
// muted, {"value": "Off"} when not, null when the device does not answer.
class AudioMicrophonesMuteStatus final : public XStatus {
  public:
    explicit AudioMicrophonesMuteStatus(std::shared_ptr<VantaApiClient> client)
        : XStatus(std::move(client)) {}

    std::string path() const override { return "Audio.Microphones.Mute"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

}  // namespace vanta::zapi
