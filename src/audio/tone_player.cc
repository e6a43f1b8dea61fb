#include "audio/tone_player.h"

#include <mutex>

#include "audio/current_volume_reader.h"
#include "audio/tone_player_impl.h"
#include "clients/media/media_client.h"
#include "runtime/logging/loggers.h"

namespace vanta::audio {

namespace {

// The process-wide player and the mutex of its creation and reset.
struct PlayerSlot {
    std::mutex creation_mutex;
    std::shared_ptr<TonePlayer> player;
};

// The player lives on until the end of the process and releases its media
// resources when statics are destroyed. Looking up its logger first makes the
// logger registry older than the slot, so the registry is destroyed after
// the player and the player can still log then.
PlayerSlot& player_slot() {
    static logging::Logger& logger = logging::getLogger("TonePlayer");
    static PlayerSlot slot;
    (void)logger;
    return slot;
}

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

std::shared_ptr<TonePlayer> get_tone_player(bool ringer, const EndpointCatalogue& endpoints) {
    PlayerSlot& slot = player_slot();
    std::lock_guard<std::mutex> lock(slot.creation_mutex);
    if (!slot.player) {
        logging::getLogger("TonePlayer").info("Creating Tone Player");
        slot.player = std::make_shared<TonePlayerImpl>(
            ringer, media::create_media_service_client(endpoints.media),
            create_current_volume_reader(endpoints.volumemgr), platform_tone_settings());
    }
    return slot.player;
}

namespace detail {

void drop_tone_player(const TonePlayer* player) {
    PlayerSlot& slot = player_slot();
    std::lock_guard<std::mutex> lock(slot.creation_mutex);
    if (slot.player.get() == player) {
        slot.player.reset();
    }
}

}  // namespace detail

}  // namespace vanta::audio
