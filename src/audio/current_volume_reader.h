#pragma once

#include <memory>
#include <optional>
#include <string>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::audio {

// The volume the volume manager currently plays calls at.
class CurrentVolumeReader {
  public:
    virtual ~CurrentVolumeReader() = default;
    // Nothing when the volume manager does not answer.
    virtual std::optional<unsigned> GetCurrentVolume() = 0;
};

// Asks the volume manager at `endpoint`.
std::unique_ptr<CurrentVolumeReader> create_current_volume_reader(const Endpoint& endpoint);

}  // namespace vanta::audio
