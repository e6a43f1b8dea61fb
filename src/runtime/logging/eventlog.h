#pragma once

// The log library's own diagnostics: printf-style text written into the
// shared-memory log queue with debug severity under the program's identity.

#include <cstdarg>
#include <cstddef>
#include <string>

void eventlog_logtask_init(const std::string& identity);
void eventlog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void veventlog(const char* format, va_list args);
void eventlogwrite(const char* text, size_t length);
void eventlogputs(const char* text);
[[noreturn]] void eventlog_die(const char* format, ...) __attribute__((format(printf, 1, 2)));
