#include "platform/system_version.h"

#include <fstream>
#include <sstream>

#include "platform/manufacturing_data.h"

namespace vanta::platform {

std::string get_version(const std::string& version_path) {
    std::ifstream file(version_path);
    std::string version;
    if (!std::getline(file, version)) {
        return kUnknown;
    }
    return version;
}

std::string get_system_version(const std::string& version_path) {
    return get_version(version_path);
}

bool is_alt_boot(const std::string& cmdline_path) {
    std::ifstream file(cmdline_path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str().find("alt_boot_image") != std::string::npos;
}

}  // namespace vanta::platform
