#pragma once

#include <string>

namespace vanta {

// Names the calling thread as it appears in /proc and in debuggers. Linux keeps
// at most 15 characters; longer names are cut.
void set_thread_name(const std::string& name);

}  // namespace vanta
