#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tt {
// Root of the work-queue classes; carries no operations.
class executor {
  public:
    // One queued closure.
    struct work_item {
        std::function<void()> work;
    };

    virtual ~executor() = default;
};
}  // namespace tt

namespace vanta::executor {

// A delayed piece of work that can still be cancelled.
class WorkHandle {
  public:
    virtual ~WorkHandle() = default;
    virtual bool is_scheduled() const = 0;
    virtual void cancel() = 0;
};

}  // namespace vanta::executor

// The work queue handed to every service, plugin and client. Closures added
// from any thread run one at a time, in order, on the thread that drives it.
class Executor : public tt::executor {
  public:
    ~Executor() override = default;
    virtual void add_work(std::function<void()> work, unsigned short id) = 0;
    virtual void add_work(std::function<void()> work, unsigned short id,
                          const std::string& name) = 0;
    // Queues `work` (id 0, label "Work") once `delay` has passed, unless the
    // returned handle is cancelled first.
    virtual std::shared_ptr<vanta::executor::WorkHandle> schedule_work(
        std::function<void()> work, std::chrono::milliseconds delay) = 0;
};
