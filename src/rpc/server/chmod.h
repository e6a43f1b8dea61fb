#pragma once

#include <string>

namespace vanta {

// Sets the mode of `path`; true on success.
bool chmod(const std::string& path, int mode);

}  // namespace vanta
