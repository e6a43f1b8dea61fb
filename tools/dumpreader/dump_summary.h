#pragma once

#include <string>

#include "tools/dumpreader/minidump_reader.h"

namespace vanta::dumpreader {

// What a developer reads first in a dump, one fact a line: the process, the
// crash, the system, each thread's instruction as "<module>+<offset>" (the
// offset addr2line takes for that module's file) and the modules with their
// build ids.
std::string summarize(const Minidump& dump);

}  // namespace vanta::dumpreader
