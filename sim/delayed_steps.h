#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace vanta::sim {

// What a simulated backend does a little later (a call that connects a moment
// after it was dialled), run in order of time on a thread of its own.
// Destroying it drops the steps still waiting and joins the thread; a backend
// declares it last, so that it goes first.
class DelayedSteps {
  public:
    DelayedSteps() : thread_([this] { run(); }) {}
    ~DelayedSteps() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    DelayedSteps(const DelayedSteps&) = delete;
    DelayedSteps& operator=(const DelayedSteps&) = delete;

    // Runs `step` once `delay` has passed (after the steps due earlier).
    void after(std::chrono::milliseconds delay, std::function<void()> step) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            steps_.emplace(Clock::now() + delay, std::move(step));
        }
        changed_.notify_all();
    }

  private:
    using Clock = std::chrono::steady_clock;

    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopping_) {
            if (steps_.empty()) {
                changed_.wait(lock);
                continue;
            }
            const auto due = steps_.begin()->first;
            if (Clock::now() < due) {
                changed_.wait_until(lock, due);
                continue;
            }
            auto step = std::move(steps_.begin()->second);
            steps_.erase(steps_.begin());
            lock.unlock();
            step();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::multimap<Clock::time_point, std::function<void()>> steps_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vanta::sim
