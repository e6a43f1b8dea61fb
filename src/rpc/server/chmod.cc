#include "rpc/server/chmod.h"

#include <sys/stat.h>

namespace vanta {

bool chmod(const std::string& path, int mode) {
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

}  // namespace vanta
