#pragma once

#include "gateway/zapi.h"

namespace vanta::zapi {

// "Audio.Microphones.Mute": succeeds when the device reports itself muted
// after the request.
class AudioMicrophonesMuteCommand final : public XCommand {
  public:
    explicit AudioMicrophonesMuteCommand(std::shared_ptr<VantaApiClient> client)
        : XCommand(std::move(client)) {}

    std::string path() const override { return "Audio.Microphones.Mute"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

// "Audio.Microphones.ToggleMute": succeeds whenever the device answers.
class AudioMicrophonesToggleMuteCommand final : public XCommand {
  public:
    explicit AudioMicrophonesToggleMuteCommand(std::shared_ptr<VantaApiClient> client)
        : XCommand(std::move(client)) {}

    std::string path() const override { return "Audio.Microphones.ToggleMute"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

// "Audio.Microphones.Unmute": succeeds when the device reports itself
// unmuted after the request.
class AudioMicrophonesUnmuteCommand final : public XCommand {
  public:
    explicit AudioMicrophonesUnmuteCommand(std::shared_ptr<VantaApiClient> client)
        : XCommand(std::move(client)) {}

    std::string path() const override { return "Audio.Microphones.Unmute"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

}  // namespace vanta::zapi
