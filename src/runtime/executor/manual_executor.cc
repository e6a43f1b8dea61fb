#include "runtime/executor/manual_executor.h"

#include <algorithm>

void ManualExecutor::add_work(std::function<void()> work, unsigned short /*id*/) {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(tt::executor::work_item{std::move(work)});
}

void ManualExecutor::add_work(std::function<void()> work, unsigned short id,
                              const std::string& /*name*/) {
    add_work(std::move(work), id);
}

std::shared_ptr<vanta::executor::WorkHandle> ManualExecutor::schedule_work(
    std::function<void()> work, std::chrono::milliseconds delay) {
    auto handle = std::make_shared<FakeWorkHandle>(delay, std::move(work));
    scheduled_.push_back(handle);
    return handle;
}

void ManualExecutor::run() {
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (queue_.empty()) {
            break;
        }
        auto item = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        item.work();
    }
    scheduled_.erase(std::remove_if(scheduled_.begin(), scheduled_.end(),
                                    [](const auto& h) { return !h->is_scheduled(); }),
                     scheduled_.end());
}

void ManualExecutor::advance_time(std::chrono::milliseconds step) {
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        FakeWorkHandle& handle = **it;
        handle.remaining_ms_ -= step.count();
        if (handle.is_scheduled() && handle.remaining_ms_ < 1) {
            handle.scheduled_ = false;
            add_work(handle.work_, 0);
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
}

void ManualExecutor::run_to_completion(std::chrono::milliseconds step) {
    while (has_work() || has_scheduled_work()) {
        run();
        if (has_scheduled_work()) {
            advance_time(step);
        }
    }
}

bool ManualExecutor::has_work() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !queue_.empty();
}

bool ManualExecutor::has_scheduled_work() const {
    return !scheduled_.empty();
}
