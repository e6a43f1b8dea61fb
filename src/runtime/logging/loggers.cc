#include "runtime/logging/loggers.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/logging/null_logger.h"
#include "runtime/logging/stream_logger.h"

namespace logging {

namespace {

struct Loggers {
    std::mutex lock;  // "LoggersLock"
    std::unordered_map<std::string, std::unique_ptr<StreamLogger>> by_name;
    // Loggers dropped by cleanupLoggers(), kept allocated but silent. The
    // shutdown sequence tears logging down while gRPC threads may still be
    // finishing a call and destructors still run; a late message through an
    // old reference is then dropped instead of written after the daemon's
    // last line (or through freed memory).
    std::vector<std::unique_ptr<StreamLogger>> retired;
};

Loggers& registry() {
    static Loggers loggers;
    return loggers;
}

}  // namespace

Logger& getLogger(std::string_view name) {
    Loggers& loggers = registry();
    std::lock_guard<std::mutex> guard(loggers.lock);
    auto& slot = loggers.by_name[std::string(name)];
    if (!slot) {
        slot = std::make_unique<StreamLogger>(name);
    }
    return *slot;
}

Logger& getNullLogger() {
    static NullLogger null_logger;
    return null_logger;
}

void cleanupLoggers() {
    Loggers& loggers = registry();
    std::lock_guard<std::mutex> guard(loggers.lock);
    for (auto& entry : loggers.by_name) {
        entry.second->retire();
        loggers.retired.push_back(std::move(entry.second));
    }
    loggers.by_name.clear();
}

}  // namespace logging
