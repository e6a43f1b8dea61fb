#include "runtime/logging/loglib.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>

#include <fmt/format.h>

#include "runtime/logging/eventlog.h"
#include "runtime/logging/logtask.h"

struct LogLib {
    std::string name;
    std::string lock_name;
    std::mutex mutex;
    std::vector<std::unique_ptr<LogCtx>> contexts;
    // Contexts of an earlier Log_destroy(). Kept so that a logger still held
    // by a straggling thread never writes through freed memory.
    std::vector<std::unique_ptr<LogCtx>> retired;
    std::vector<LogConsoleOutput*> outputs;
};

namespace {

constexpr size_t kMaxContextName = 79;
constexpr int kUnmappedSeverity = 3;

LogLib& global_instance() {
    static LogLib instance;
    return instance;
}

int to_syslog_severity(int level) {
    switch (level) {
        case 0:
            return 3;
        case 1:
            return 4;
        case 2:
            return 6;
        case 3:
            return 7;
        default:
            return -1;
    }
}

void write_to_output(LogConsoleOutput* output, const char* text, size_t length) {
    if (output == nullptr || !output->write) {
        std::printf("%.*s", static_cast<int>(length), text);
        if (output != nullptr && output->formatting) {
            std::printf("\n");
        }
        return;
    }
    std::string_view view(text, length);
    if (output->formatting) {
        std::string line(view);
        line += '\n';
        output->write(line);
    } else {
        output->write(view);
    }
}

LogCtx* find_locked(LogLib& lib, const char* name) {
    for (auto& ctx : lib.contexts) {
        if (std::strcmp(ctx->name, name) == 0) {
            return ctx.get();
        }
    }
    return nullptr;
}

bool has_prefix_ignoring_case(const char* name, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return std::strlen(name) >= length && strncasecmp(name, prefix, length) == 0;
}

}  // namespace

void loglib_init(LogLib* instance, const char* name) {
    std::lock_guard<std::mutex> lock(instance->mutex);
    instance->name = name;
    instance->lock_name = std::string(name) + "Lock";
}

void loglib_destroy(LogLib* instance) {
    std::lock_guard<std::mutex> lock(instance->mutex);
    for (auto& ctx : instance->contexts) {
        instance->retired.push_back(std::move(ctx));
    }
    instance->contexts.clear();
    instance->outputs.clear();
}

void loglib_output_message(LogCtx* ctx, int level, const char* text, size_t length) {
    LogLib& lib = (ctx != nullptr && ctx->owner != nullptr) ? *ctx->owner : global_instance();
    std::unique_lock<std::mutex> lock(lib.mutex, std::defer_lock);
    try {
        lock.lock();
    } catch (const std::system_error& e) {
        eventlog("%s(): Mutex error for %s: %s (%d)\n", __func__, lib.lock_name.c_str(), e.what(),
                 e.code().value());
        return;
    }
    for (LogConsoleOutput* output : lib.outputs) {
        write_to_output(output, text, length);
    }
    int severity = to_syslog_severity(level);
    if (severity < 0) {
        eventlog("%s", fmt::format("loglib_syslog: Unmapped msg syslog level {}\n", level).c_str());
        severity = kUnmappedSeverity;
    }
    logging::logtask::write(severity, logging::logtask::kLibraryTag,
                            std::string_view(text, length));
}

void Log_globInitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { loglib_init(&global_instance(), "GlobalLog"); });
}

void Log_destroy() {
    loglib_destroy(&global_instance());
}

LogCtx* Log_getCtx(const char* name) {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    if (LogCtx* found = find_locked(lib, name)) {
        return found;
    }
    auto ctx = std::make_unique<LogCtx>();
    std::strncpy(ctx->name, name, kMaxContextName);
    ctx->owner = &lib;
    lib.contexts.push_back(std::move(ctx));
    return lib.contexts.back().get();
}

LogCtx* Log_findCtx(const char* name) {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    return find_locked(lib, name);
}

const char* Log_getCtxName(const LogCtx* ctx) {
    return ctx != nullptr ? ctx->name : "";
}

std::vector<std::string> Log_getCtxNames() {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    std::vector<std::string> names;
    for (const auto& ctx : lib.contexts) {
        names.emplace_back(ctx->name);
    }
    return names;
}

void Log_listAll(LogConsoleOutput* output) {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    for (const auto& ctx : lib.contexts) {
        con_out(output, "  '%s'%s(debug %d%s)\n", ctx->name, " ", ctx->debug_level.load(),
                ctx->info_enabled ? "" : ", info disabled");
    }
}

void Log_enableDebugLevel(LogCtx* ctx, int level) {
    if (ctx == nullptr) {
        return;
    }
    ctx->debug_level = level;
    if (ctx->changed_callback != nullptr) {
        ctx->changed_callback(ctx, ctx->changed_callback_data);
    }
}

int Log_getDebugLevel(const LogCtx* ctx) {
    return ctx != nullptr ? ctx->debug_level.load() : 0;
}

bool Log_isDebugEnabled(const LogCtx* ctx, int level) {
    return ctx != nullptr && ctx->debug_level >= level;
}

void Log_enableInfo(LogCtx* ctx, bool on) {
    if (ctx == nullptr) {
        return;
    }
    ctx->info_enabled = on;
    if (ctx->changed_callback != nullptr) {
        ctx->changed_callback(ctx, ctx->changed_callback_data);
    }
}

bool Log_infoEnabled(const LogCtx* ctx) {
    return ctx != nullptr && ctx->info_enabled;
}

namespace {
template <typename Change>
void change_all(const char* prefix, const Change& change) {
    LogLib& lib = global_instance();
    std::vector<LogCtx*> matching;
    {
        std::lock_guard<std::mutex> lock(lib.mutex);
        for (auto& ctx : lib.contexts) {
            if (has_prefix_ignoring_case(ctx->name, prefix)) {
                matching.push_back(ctx.get());
            }
        }
    }
    for (LogCtx* ctx : matching) {
        change(ctx);
    }
}
}  // namespace

void Log_enableDebugLevelAll(const char* prefix, int level, LogConsoleOutput* output) {
    change_all(prefix, [&](LogCtx* ctx) {
        Log_enableDebugLevel(ctx, level);
        con_out(output, "  '%s' is now debug=%d\n", ctx->name, level);
    });
}

void Log_enableInfoAll(const char* prefix, bool on, LogConsoleOutput* output) {
    change_all(prefix, [&](LogCtx* ctx) {
        Log_enableInfo(ctx, on);
        con_out(output, "  '%s' info %s\n", ctx->name, on ? "enabled" : "disabled");
    });
}

void Log_addCo(LogConsoleOutput* output) {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    if (std::find(lib.outputs.begin(), lib.outputs.end(), output) == lib.outputs.end()) {
        lib.outputs.push_back(output);
    }
}

void Log_removeCo(LogConsoleOutput* output) {
    LogLib& lib = global_instance();
    std::lock_guard<std::mutex> lock(lib.mutex);
    lib.outputs.erase(std::remove(lib.outputs.begin(), lib.outputs.end(), output),
                      lib.outputs.end());
}

void Log_setChangedCallback(LogCtx* ctx, LogChangedCallback callback, void* data) {
    if (ctx == nullptr) {
        return;
    }
    ctx->changed_callback = callback;
    ctx->changed_callback_data = data;
}

void con_vout(LogConsoleOutput* output, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        return;
    }
    std::vector<char> text(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    con_write(output, text.data(), static_cast<size_t>(needed));
}

void con_out(LogConsoleOutput* output, const char* format, ...) {
    va_list args;
    va_start(args, format);
    con_vout(output, format, args);
    va_end(args);
}

void con_puts(LogConsoleOutput* output, const char* text) {
    con_write(output, text, std::strlen(text));
}

void con_write(LogConsoleOutput* output, const char* text, size_t length) {
    if (output == nullptr || !output->write) {
        std::printf("%.*s", static_cast<int>(length), text);
        return;
    }
    output->write(std::string_view(text, length));
}

void con_hexdump(LogConsoleOutput* output, const void* data, size_t length) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < length; ++i) {
        con_out(output, "%02x ", bytes[i]);
    }
}
