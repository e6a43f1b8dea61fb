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
    std::unordered_map<std::string, std::unique_ptr<Logger>> by_name;
    // Loggers dropped by cleanupLoggers(). The shutdown sequence tears logging
    // down while gRPC threads may still be finishing a call; keeping the old
    // objects means a late message is harmless instead of a use after free.
    std::vector<std::unique_ptr<Logger>> retired;
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
        loggers.retired.push_back(std::move(entry.second));
    }
    loggers.by_name.clear();
}

}  // namespace logging
