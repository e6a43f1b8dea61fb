#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace vanta::audio {

// The volume the volume manager currently plays calls at.
class CurrentVolumeReader {
  public:
    virtual ~CurrentVolumeReader() = default;
    // Nothing when the volume manager does not answer.
    virtual std::optional<unsigned> GetCurrentVolume() = 0;
};

// Asks the volume manager at `address`; each call waits `timeout`.
std::unique_ptr<CurrentVolumeReader> create_current_volume_reader(
    const std::string& address, std::chrono::milliseconds timeout);

}  // namespace vanta::audio
