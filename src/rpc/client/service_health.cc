#include "rpc/client/service_health.h"

#include <sys/stat.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "rpc/client/service_registry_client.h"

namespace vanta {

namespace {
const std::string kUnixPrefix = "unix:";
constexpr int kSocketChecks = 5;
constexpr int kRegistryTries = 11;
constexpr std::chrono::seconds kRetryInterval{1};
constexpr std::chrono::milliseconds kRegistryTimeout{200};
}  // namespace

bool is_service_running(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool check_service_health(const std::string& address, const logging::Logger& logger, bool once) {
    const std::string path = address.substr(kUnixPrefix.size());
    if (address.compare(0, kUnixPrefix.size(), kUnixPrefix) != 0) {
        throw std::invalid_argument("check_service_health: not a unix: address: " + address);
    }
    bool seen = false;
    for (int check = 0; check < kSocketChecks; ++check) {
        seen = is_service_running(path) || seen;
        if (once) {
            break;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    if (seen) {
        logger.info("Service {} is up....", address);
    } else {
        logger.info("Service {} failed to come up...", address);
    }
    return seen;
}

bool check_service_health(const std::string& root, const std::string& service,
                          const logging::Logger& logger, bool once) {
    const auto registry = create_service_registry_client(root);
    registry->set_timeout(kRegistryTimeout);
    bool found = false;
    for (int attempt = 0; attempt < kRegistryTries; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(kRetryInterval);
        }
        found = !registry->get_service_address(service).empty();
        if (found || once) {
            break;
        }
    }
    if (found) {
        logger.info("Service {} is up...", service);
    } else {
        logger.info("Service {} failed to come up...", service);
    }
    return found;
}

}  // namespace vanta
