// Logging: messages per second through a StreamLogger into the shared-memory
// log queue while a collector drains it as the device's log collector does,
// from 1 and 2 producer threads, and the drops at a fixed rate.
// Prints logging.{msgs_per_s_1,msgs_per_s_2,drops_1,drops_2,drops_at_rate,
// rate_msgs_per_s} as JSON lines.
//
//   vanta_logging_throughput_bench [--messages 1000000] [--rate 50000] [--seconds 2]

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "command_line.h"
#include "latency_figures.h"
#include "runtime/logging/loggers.h"
#include "runtime/logging/loglib.h"
#include "runtime/logging/logtask.h"

namespace {

using Clock = std::chrono::steady_clock;

// Drains the process-wide log queue on its own thread while it exists.
class Collector {
  public:
    Collector() {
        thread_ = std::thread([this] {
            logging::logtask::LogQueues* queues = logging::logtask::queues();
            logging::logtask::Record record;
            while (!stop_) {
                if (queues == nullptr || !queues->log().pop(record)) {
                    std::this_thread::yield();
                }
            }
        });
    }
    ~Collector() {
        stop_ = true;
        thread_.join();
    }
    Collector(const Collector&) = delete;
    Collector& operator=(const Collector&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

unsigned take_drops() {
    logging::logtask::LogQueues* queues = logging::logtask::queues();
    return queues != nullptr ? queues->log().take_drop_count() : 0;
}

// Messages per second from `producers` threads writing `messages` in all.
double throughput(int producers, long messages) {
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([messages, producers] {
            logging::Logger& logger = logging::getLogger("Bench");
            for (long i = 0; i < messages / producers; ++i) {
                logger.info("Volume changed to {} on {}", i, "speaker");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(messages) / seconds;
}

// One producer at `rate` messages per second for `seconds`, paced every
// millisecond.
void paced(long rate, long seconds) {
    logging::Logger& logger = logging::getLogger("Bench");
    const long per_tick = rate / 1000;
    const auto start = Clock::now();
    for (long tick = 0; tick < seconds * 1000; ++tick) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(tick));
        for (long i = 0; i < per_tick; ++i) {
            logger.info("Volume changed to {} on {}", i, "speaker");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    using vanta::bench::print_figure;
    const long messages = vanta::bench::option(argc, argv, "messages", 1000000);
    const long rate = vanta::bench::option(argc, argv, "rate", 50000);
    const long seconds = vanta::bench::option(argc, argv, "seconds", 2);

    Log_globInitOnce();
    Collector collector;
    take_drops();
    for (const int producers : {1, 2}) {
        const double per_second = throughput(producers, messages);
        const std::string suffix = "_" + std::to_string(producers);
        print_figure("logging.msgs_per_s" + suffix, per_second);
        print_figure("logging.drops" + suffix, take_drops());
    }
    paced(rate, seconds);
    print_figure("logging.rate_msgs_per_s", static_cast<double>(rate));
    print_figure("logging.drops_at_rate", take_drops());
    return 0;
}
