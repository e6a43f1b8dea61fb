#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "audio/current_volume_reader.h"
#include "audio/tone_player.h"
#include "clients/media/media_client.h"
#include "runtime/logging/logger.h"

namespace vanta::audio {

// Where the player finds its tone files and how it asks for its speaker.
struct ToneSettings {
    // The folder of "click.wav", "volume.wav" and "ringback.wav".
    std::string chime_directory;
    // On the platform "Host" the tone files are not looked for.
    std::string platform_name;
    // Whether the speaker output needs the backend's audio processing.
    bool audio_processing = false;
};

// The platform's own settings.
ToneSettings platform_tone_settings();

namespace detail {
// Drops the process-wide player when it is `player`.
// REQUIRES: the caller holds a reference to `player` of its own.
void drop_tone_player(const TonePlayer* player);
}  // namespace detail

// Holds a tone input and the speaker output of the media backend, connected,
// for as long as it lives. A setup that failed is tried again, step by step,
// by the next play.
// Threading: every public operation runs under one mutex.
class TonePlayerImpl final : public TonePlayer {
  public:
    // The volume of every tone but the volume-adjust tone, and the fallback
    // of that one.
    static constexpr unsigned kDefaultToneVolume = 70;

    // Frees what an earlier player left under the same identity and sets up
    // the resources. `ringer` selects the identity RINGER_CLIENT, else
    // CHIME_CLIENT.
    TonePlayerImpl(bool ringer, std::unique_ptr<media::MediaServiceClient> media,
                   std::unique_ptr<CurrentVolumeReader> volume, ToneSettings settings);
    ~TonePlayerImpl() override;
    TonePlayerImpl(const TonePlayerImpl&) = delete;
    TonePlayerImpl& operator=(const TonePlayerImpl&) = delete;

    bool play_tone(ToneType type, bool in_loop) override;
    bool stop() override;
    bool reset() override;
    bool update_tone_volume(unsigned volume) override;
    bool play_file(const std::string& path, unsigned volume, bool in_loop) override;

  private:
    // REQUIRES: mutex_ held, for all below.
    bool play(const std::string& path, unsigned volume, bool in_loop);
    bool setup_media_resources();
    void release_media_resources();
    unsigned tone_volume(ToneType type);
    // Runs one media call; a failed call answers `failed`.
    template <typename Call, typename Result>
    Result media_call(Call&& call, Result failed);

    const media::MediaClientId client_id_;
    const ToneSettings settings_;
    logging::Logger& logger_;
    const std::unique_ptr<media::MediaServiceClient> media_;
    const std::unique_ptr<CurrentVolumeReader> volume_;
    std::mutex mutex_;
    bool playing_in_loop_ = false;
    bool resources_connected_ = false;
    media::AudioResources resources_;
};

}  // namespace vanta::audio
