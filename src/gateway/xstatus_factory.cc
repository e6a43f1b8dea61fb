#include "gateway/xstatus_factory.h"

#include "gateway/audio_microphones_mute_status.h"

namespace vanta::zapi {

std::vector<std::shared_ptr<const Zapi>> statuses(const std::shared_ptr<VantaApiClient>& client) {
    return {std::make_shared<const AudioMicrophonesMuteStatus>(client)};
}

}  // namespace vanta::zapi
