#include "runtime/logging/eventlog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <vector>

#include "runtime/logging/logtask.h"

namespace {

constexpr int kEventLogSeverity = 7;

std::mutex& identity_mutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& identity() {
    static std::string name = program_invocation_short_name;
    return name;
}

std::string current_identity() {
    std::lock_guard<std::mutex> lock(identity_mutex());
    return identity();
}

}  // namespace

void eventlog_logtask_init(const std::string& name) {
    std::lock_guard<std::mutex> lock(identity_mutex());
    identity() = name;
}

void veventlog(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        return;
    }
    std::vector<char> text(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    eventlogwrite(text.data(), static_cast<size_t>(needed));
}

void eventlog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    veventlog(format, args);
    va_end(args);
}

void eventlogwrite(const char* text, size_t length) {
    logging::logtask::write(kEventLogSeverity, current_identity(), std::string_view(text, length));
}

void eventlogputs(const char* text) {
    eventlogwrite(text, std::char_traits<char>::length(text));
}

void eventlog_die(const char* format, ...) {
    va_list args;
    va_start(args, format);
    veventlog(format, args);
    va_end(args);
    std::abort();
}
