#include "runtime/thread_name.h"

#include <pthread.h>

namespace vanta {

void set_thread_name(const std::string& name) {
    constexpr size_t kMaxLength = 15;
    const std::string cut = name.substr(0, kMaxLength);
    pthread_setname_np(pthread_self(), cut.c_str());
}

}  // namespace vanta
