#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/crash/signal_safe_io.h"

namespace vanta::crash {

// Build ids longer than this are cut to it (the GNU linker writes 20 bytes).
constexpr size_t kMaxBuildIdSize = 64;

// Reads the GNU build id of the ELF image of this process's word size whose
// first byte is mapped at `image`, following its program headers to the
// PT_NOTE segments. [image, readable_end) is the readable mapping that holds
// the headers and the notes. Returns the id's length (0 when there is none)
// and never allocates, so a signal handler may call it.
size_t readElfBuildId(const MemoryReader& memory, uintptr_t image, uintptr_t readable_end,
                      uint8_t (&build_id)[kMaxBuildIdSize]);

}  // namespace vanta::crash
