#include "runtime/main_loop.h"

#include <mutex>

namespace vanta {

void run_main_loop(WaitingExecutor& executor, const std::function<bool()>& should_quit,
                   std::chrono::nanoseconds period) {
    using std::chrono::steady_clock;
    using std::chrono::system_clock;

    for (;;) {
        const auto deadline = steady_clock::now() + period;
        if (should_quit()) {
            return;
        }
        std::unique_lock<std::mutex> lock(executor.queue_mutex());
        for (;;) {
            if (executor.stopped()) {
                break;
            }
            if (!executor.empty()) {
                auto item = executor.fetch_work();
                lock.unlock();
                executor.process_work(item);
                item = {};
                lock.lock();
                continue;
            }
            // The wait runs on the wall clock: the remaining time of the steady
            // deadline, as an absolute system time.
            const auto until = system_clock::now() + (deadline - steady_clock::now());
            executor.work_condition().wait_until(lock, until);
            if (system_clock::now() < until) {
                continue;  // new work or a spurious wake-up: same deadline
            }
            if (!executor.empty()) {
                continue;  // deadline passed with work waiting: run it first
            }
            break;
        }
    }
}

}  // namespace vanta
