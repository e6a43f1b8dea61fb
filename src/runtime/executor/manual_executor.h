#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/executor/executor.h"

// The delayed-work handle of the ManualExecutor: a count of simulated time.
class FakeWorkHandle final : public vanta::executor::WorkHandle {
  public:
    FakeWorkHandle(std::chrono::milliseconds delay, std::function<void()> work)
        : remaining_ms_(delay.count()), work_(std::move(work)) {}

    bool is_scheduled() const override { return scheduled_; }
    void cancel() override { scheduled_ = false; }

  private:
    friend class ManualExecutor;
    std::int64_t remaining_ms_;
    std::function<void()> work_;
    std::atomic<bool> scheduled_{true};
};

// An executor that does nothing by itself: its owner runs the queue and moves
// a simulated clock, which makes immediate and delayed work deterministic.
// Threading: work may be added from any thread; scheduling, running and
// advancing time belong to the owning thread (the handle list has no lock).
class ManualExecutor final : public Executor {
  public:
    ManualExecutor() = default;
    ManualExecutor(const ManualExecutor&) = delete;
    ManualExecutor& operator=(const ManualExecutor&) = delete;

    void add_work(std::function<void()> work, unsigned short id) override;
    void add_work(std::function<void()> work, unsigned short id, const std::string& name) override;
    std::shared_ptr<vanta::executor::WorkHandle> schedule_work(
        std::function<void()> work, std::chrono::milliseconds delay) override;

    // Runs queued work until the queue is empty (work added meanwhile runs too),
    // then forgets handles that are no longer scheduled.
    void run();
    // Moves simulated time on by `step`; due handles queue their work.
    void advance_time(std::chrono::milliseconds step);
    // Alternates run() and advance_time(step) until nothing is left.
    void run_to_completion(std::chrono::milliseconds step);
    bool has_work();
    bool has_scheduled_work() const;

  private:
    std::mutex mutex_;
    std::deque<tt::executor::work_item> queue_;
    std::vector<std::shared_ptr<FakeWorkHandle>> scheduled_;
};
