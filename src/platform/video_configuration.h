#pragma once

#include <nlohmann/json.hpp>

namespace vanta::platform {

// The decoding limits of this model:
// {"video": {"devices": null, "standard": null, "decode_resolution":
//   {"max_width": 2048, "max_height": 2048, "max_resolution": 2088960}}}
// (2088960 pixels is 1920 x 1088).
nlohmann::json get_video_configuration();

}  // namespace vanta::platform
