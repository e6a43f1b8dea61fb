#include "gateway/xcommand_factory.h"

#include "gateway/audio_microphones_mute_commands.h"
#include "gateway/bookings_list_command.h"
#include "gateway/system_unit_boot_command.h"

namespace vanta::zapi {

std::vector<std::shared_ptr<const Zapi>> commands(const std::shared_ptr<VantaApiClient>& client) {
    return {
        std::make_shared<const SystemUnitBootCommand>(client),
        std::make_shared<const AudioMicrophonesMuteCommand>(client),
        std::make_shared<const AudioMicrophonesToggleMuteCommand>(client),
        std::make_shared<const AudioMicrophonesUnmuteCommand>(client),
        std::make_shared<const BookingsListCommand>(client),
    };
}

}  // namespace vanta::zapi
