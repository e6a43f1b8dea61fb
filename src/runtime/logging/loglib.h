#pragma once

// The log library: named log contexts with a plain function interface. Every
// message is copied to the attached console outputs and encoded into the
// shared-memory log queue that the device's log collector reads.

#include <atomic>
#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct LogLib;

using LogChangedCallback = void (*)(struct LogCtx* ctx, void* data);

// One per name; allocated on first use and kept until Log_destroy().
struct LogCtx {
    std::atomic<int> debug_level{0};
    std::atomic<bool> info_enabled{true};
    char name[80] = {};
    LogChangedCallback changed_callback = nullptr;
    void* changed_callback_data = nullptr;
    LogLib* owner = nullptr;
};

// Where console copies of log messages go. Without a write function the text
// goes to standard output with "%.*s"; a formatting output appends "\n".
struct LogConsoleOutput {
    std::function<void(std::string_view)> write;
    bool formatting = false;
};

void loglib_init(LogLib* instance, const char* name);
void loglib_destroy(LogLib* instance);
// Writes one message of the given library level (0 error, 1 warning, 2 info,
// 3 debug) to the console outputs and to the log queue.
void loglib_output_message(LogCtx* ctx, int level, const char* text, size_t length);

void Log_globInitOnce();
void Log_destroy();

// REQUIRES: `name` is not null and shorter than 80 characters.
LogCtx* Log_getCtx(const char* name);
LogCtx* Log_findCtx(const char* name);
const char* Log_getCtxName(const LogCtx* ctx);
std::vector<std::string> Log_getCtxNames();
void Log_listAll(LogConsoleOutput* output);

void Log_enableDebugLevel(LogCtx* ctx, int level);
int Log_getDebugLevel(const LogCtx* ctx);
bool Log_isDebugEnabled(const LogCtx* ctx, int level);
void Log_enableInfo(LogCtx* ctx, bool on);
bool Log_infoEnabled(const LogCtx* ctx);
// Sets every context whose name starts with `prefix` (in any letter case).
void Log_enableDebugLevelAll(const char* prefix, int level, LogConsoleOutput* output);
void Log_enableInfoAll(const char* prefix, bool on, LogConsoleOutput* output);

void Log_addCo(LogConsoleOutput* output);
void Log_removeCo(LogConsoleOutput* output);
void Log_setChangedCallback(LogCtx* ctx, LogChangedCallback callback, void* data);

// Console functions: write to one console output (standard output when null).
void con_out(LogConsoleOutput* output, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void con_vout(LogConsoleOutput* output, const char* format, va_list args);
void con_puts(LogConsoleOutput* output, const char* text);
void con_write(LogConsoleOutput* output, const char* text, size_t length);
void con_hexdump(LogConsoleOutput* output, const void* data, size_t length);
