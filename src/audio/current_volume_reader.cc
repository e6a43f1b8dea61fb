#include "audio/current_volume_reader.h"

#include <exception>

#include "clients/volumemgr/volumemgr_client.h"

namespace vanta::audio {

namespace {

class VolumeManagerReader final : public CurrentVolumeReader {
  public:
    explicit VolumeManagerReader(const Endpoint& endpoint)
        : client_(create_volumemgr_client(endpoint)) {}

    std::optional<unsigned> GetCurrentVolume() override {
        try {
            if (const auto status = client_->GetCurrentVolume()) {
                return status->volume();
            }
        } catch (const std::exception&) {
            // Already logged by the client; the caller falls back to its own
            // volume.
        }
        return std::nullopt;
    }

  private:
    const std::unique_ptr<VolumeMgrClient> client_;
};

}  // namespace

std::unique_ptr<CurrentVolumeReader> create_current_volume_reader(const Endpoint& endpoint) {
    return std::make_unique<VolumeManagerReader>(endpoint);
}

}  // namespace vanta::audio
