#include "platform/video_configuration.h"

namespace vanta::platform {

nlohmann::json get_video_configuration() {
    constexpr int kMaxDecodeSide = 2048;
    constexpr int kMaxDecodePixels = 1920 * 1088;
    return {{"video",
             {{"devices", nullptr},
              {"standard", nullptr},
              {"decode_resolution",
               {{"max_width", kMaxDecodeSide},
                {"max_height", kMaxDecodeSide},
                {"max_resolution", kMaxDecodePixels}}}}}};
}

}  // namespace vanta::platform
