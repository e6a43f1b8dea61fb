#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>

#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

// The daemon's production work queue. The thread that owns it drives the queue
// (the entry point's main loop does, under `queue_mutex()`); a private timer
// thread "executor_sched" turns due delayed work into queued work.
//
// Threading: any thread may add or schedule work. `empty()`, `size()` and
// `fetch_work()` take no lock — REQUIRES: the caller holds `queue_mutex()`.
// The queue mutex and the timer mutex are never held together.
class WaitingExecutor : public Executor {
  public:
    struct ContextualWorkItem {
        std::function<void()> work;
        unsigned short id = 0;
        std::string name;
    };

    explicit WaitingExecutor(logging::Logger& logger);
    WaitingExecutor();
    ~WaitingExecutor() override;
    WaitingExecutor(const WaitingExecutor&) = delete;
    WaitingExecutor& operator=(const WaitingExecutor&) = delete;

    void add_work(std::function<void()> work, unsigned short id) override;
    void add_work(std::function<void()> work, unsigned short id, const std::string& name) override;
    std::shared_ptr<vanta::executor::WorkHandle> schedule_work(
        std::function<void()> work, std::chrono::milliseconds delay) override;

    virtual bool empty() const;
    virtual unsigned size() const;
    virtual ContextualWorkItem fetch_work();

    // Runs one item, logging items slower than 500 ms and rethrowing what the
    // item throws after logging it.
    void process_work(ContextualWorkItem& item);
    // Sets the stop flag and wakes both the queue driver and the timer thread.
    void time_to_quit();
    bool is_work_scheduled() const;

    std::mutex& queue_mutex() { return queue_mutex_; }
    std::condition_variable& work_condition() { return work_condition_; }
    bool stopped() const { return stop_; }

  private:
    void run_timer_thread();

    std::mutex queue_mutex_;
    std::condition_variable work_condition_;
    std::deque<ContextualWorkItem> queue_;
    logging::Logger& logger_;
    std::atomic<bool> stop_{false};
    boost::asio::io_context timer_context_;
    std::mutex timer_mutex_;
    std::condition_variable timer_condition_;
    std::vector<std::shared_ptr<vanta::executor::WorkHandle>> scheduled_;
    std::thread timer_thread_;
};
