// Messages per second through a StreamLogger into the shared-memory log queue,
// with a collector draining the queue as the device's log collector does.

#include <atomic>
#include <memory>
#include <thread>

#include <benchmark/benchmark.h>

#include "runtime/logging/loggers.h"
#include "runtime/logging/loglib.h"
#include "runtime/logging/logtask.h"

namespace {

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
                } else {
                    ++drained_;
                }
            }
        });
    }
    ~Collector() {
        stop_ = true;
        thread_.join();
    }
    long drained() const { return drained_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<long> drained_{0};
    std::thread thread_;
};

std::unique_ptr<Collector> g_collector;

void start_collector(const benchmark::State&) {
    Log_globInitOnce();
    g_collector = std::make_unique<Collector>();
}

void stop_collector(const benchmark::State&) {
    g_collector.reset();
}

void BM_StreamLoggerInfo(benchmark::State& state) {
    logging::Logger& logger = logging::getLogger("Bench");
    int i = 0;
    for (auto _ : state) {
        logger.info("Volume changed to {} on {}", ++i, "speaker");
    }
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        state.counters["drops"] = static_cast<double>(
            logging::logtask::queues() ? logging::logtask::queues()->log().take_drop_count() : 0);
    }
}
BENCHMARK(BM_StreamLoggerInfo)
    ->Setup(start_collector)
    ->Teardown(stop_collector)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime();

void BM_EncodeLongMessage(benchmark::State& state) {
    const std::string message(600, 'm');
    for (auto _ : state) {
        logging::logtask::detail::encode_message(
            6, 1234, 1733430000000000, "appl", message,
            [](const logging::logtask::Record& r) { benchmark::DoNotOptimize(r.data()); });
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeLongMessage);

}  // namespace
