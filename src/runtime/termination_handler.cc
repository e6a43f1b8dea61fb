#include "runtime/termination_handler.h"

#include <csignal>

namespace vanta::terminationhandler {

namespace {
volatile std::sig_atomic_t g_signal_status = 0;

extern "C" void on_termination_signal(int signal_number) {
    g_signal_status = signal_number;
}
}  // namespace

void register_termination_handler() {
    g_signal_status = 0;
    struct sigaction action {};
    action.sa_handler = on_termination_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

bool time_to_quit() {
    return g_signal_status != 0;
}

}  // namespace vanta::terminationhandler
