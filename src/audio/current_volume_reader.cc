#include "audio/current_volume_reader.h"

#include <exception>

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"
#include "volumemgr.grpc.pb.h"

namespace vanta::audio {

namespace {

using Stub = volumemgr::VolumeMgr::Stub;

class VolumeManagerReader final : public CurrentVolumeReader {
  public:
    VolumeManagerReader(const std::string& address, std::chrono::milliseconds timeout)
        : stub_(volumemgr::VolumeMgr::NewStub(
              grpc::CreateChannel(address, grpc::InsecureChannelCredentials()))),
          timeout_(timeout),
          logger_(logging::getLogger("TonePlayer")) {}

    std::optional<unsigned> GetCurrentVolume() override {
        try {
            const auto status =
                clients::call_or_empty(*stub_, &Stub::GetCurrentVolume, google::protobuf::Empty(),
                                       {kServiceName, "GetCurrentVolume", timeout_, logger_});
            if (status) {
                return status->volume();
            }
        } catch (const std::exception&) {
            // Already logged; the caller falls back to its own volume.
        }
        return std::nullopt;
    }

  private:
    inline static const std::string kServiceName = "VolumeManager";
    const std::unique_ptr<Stub> stub_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace

std::unique_ptr<CurrentVolumeReader> create_current_volume_reader(
    const std::string& address, std::chrono::milliseconds timeout) {
    return std::make_unique<VolumeManagerReader>(address, timeout);
}

}  // namespace vanta::audio
