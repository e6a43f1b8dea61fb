#include "audio/tone_player.h"

#include <chrono>
#include <mutex>

#include "audio/current_volume_reader.h"
#include "audio/tone_player_impl.h"
#include "clients/media/media_client.h"
#include "runtime/logging/loggers.h"

namespace vanta::audio {

namespace {

const std::string kVolumeManagerAddress = "unix:/tmp/volumemgr_service";
constexpr std::chrono::milliseconds kMediaTimeout{5000};
constexpr std::chrono::milliseconds kVolumeManagerTimeout{2000};

std::mutex creation_mutex;
std::shared_ptr<TonePlayer> tone_player;

}  // namespace

std::string TonePlayer::tone_name(ToneType type) {
    switch (type) {
        case TONE_NONE:
            return "TONE_NONE";
        case TONE_CLICK:
            return "TONE_CLICK";
        case TONE_VOLUME_ADJUST:
            return "TONE_VOLUME_ADJUST";
        case TONE_RINGBACK:
            return "TONE_RINGBACK";
    }
    return "TONE_UNKNOWN";
}

std::shared_ptr<TonePlayer> get_tone_player(bool ringer) {
    std::lock_guard<std::mutex> lock(creation_mutex);
    if (!tone_player) {
        logging::getLogger("TonePlayer").info("Creating Tone Player");
        tone_player = std::make_shared<TonePlayerImpl>(
            ringer, media::create_media_service_client(kMediaTimeout),
            create_current_volume_reader(kVolumeManagerAddress, kVolumeManagerTimeout),
            platform_tone_settings());
    }
    return tone_player;
}

namespace detail {

void drop_tone_player(const TonePlayer* player) {
    std::lock_guard<std::mutex> lock(creation_mutex);
    if (tone_player.get() == player) {
        tone_player.reset();
    }
}

}  // namespace detail

}  // namespace vanta::audio
