#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/executor/executor.h"
#include "runtime/executor/manual_executor.h"

namespace vanta::testing {

// A ManualExecutor that also keeps the label of every work item it is given.
class LabellingExecutor final : public Executor {
  public:
    void add_work(std::function<void()> work, unsigned short id) override {
        add_work(std::move(work), id, "");
    }
    void add_work(std::function<void()> work, unsigned short id, const std::string& name) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            labels_.push_back(name);
        }
        queue_.add_work(std::move(work), id);
    }
    std::shared_ptr<vanta::executor::WorkHandle> schedule_work(
        std::function<void()> work, std::chrono::milliseconds delay) override {
        return queue_.schedule_work(std::move(work), delay);
    }

    // Runs the queued work on the calling thread.
    void run() { queue_.run(); }
    size_t count(const std::string& label) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::count(labels_.begin(), labels_.end(), label);
    }

  private:
    ManualExecutor queue_;
    mutable std::mutex mutex_;
    std::vector<std::string> labels_;
};

}  // namespace vanta::testing
