#pragma once

#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::audio {

// The tones of audio feedback; numbered as the API's PlayToneRequest.tone.
enum ToneType : int {
    TONE_NONE = 0,
    TONE_CLICK = 1,
    TONE_VOLUME_ADJUST = 2,
    TONE_RINGBACK = 3,
};

// Plays feedback tones and sound files through the media backend. Every
// operation answers whether it succeeded; none throws.
class TonePlayer {
  public:
    virtual ~TonePlayer() = default;
    // Refused while a tone or file plays in a loop.
    virtual bool play_tone(ToneType type, bool in_loop) = 0;
    // Stops what plays; ends a loop.
    virtual bool stop() = 0;
    // Drops the process-wide player, so that the next get_tone_player()
    // allocates fresh media resources.
    virtual bool reset() = 0;
    virtual bool update_tone_volume(unsigned volume) = 0;
    virtual bool play_file(const std::string& path, unsigned volume, bool in_loop) = 0;

    // "TONE_NONE", "TONE_CLICK", "TONE_VOLUME_ADJUST", "TONE_RINGBACK";
    // "TONE_UNKNOWN" for any other value.
    static std::string tone_name(ToneType type);
};

// The process-wide player, created on first use ("Creating Tone Player") with
// the media and volume-manager rows of `endpoints`. `ringer` picks the
// player's media identity at creation; later calls get the existing player
// whatever they pass.
std::shared_ptr<TonePlayer> get_tone_player(
    bool ringer, const EndpointCatalogue& endpoints = device_endpoints());

}  // namespace vanta::audio
