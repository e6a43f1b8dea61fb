#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include "runtime/executor/executor.h"

namespace vanta::executor {

// The delayed-work handle of the WaitingExecutor: one steady timer on the
// executor's timer context. The timer's completion always runs on the timer
// thread, whether the timer fired or was cancelled.
class WorkHandleImpl final : public WorkHandle,
                             public std::enable_shared_from_this<WorkHandleImpl> {
  public:
    WorkHandleImpl(boost::asio::io_context& context, const std::chrono::milliseconds& delay,
                   std::function<void()> work);
    WorkHandleImpl(const WorkHandleImpl&) = delete;
    WorkHandleImpl& operator=(const WorkHandleImpl&) = delete;

    bool is_scheduled() const override;
    // Cancels a pending wait; the scheduled flag is cleared when the timer
    // thread delivers the cancellation, not here.
    void cancel() override;

    void timer_expired(const boost::system::error_code& ec);

  private:
    boost::asio::steady_timer timer_;
    std::function<void()> work_;
    std::atomic<bool> scheduled_;
};

}  // namespace vanta::executor
