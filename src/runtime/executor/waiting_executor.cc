#include "runtime/executor/waiting_executor.h"

#include <algorithm>
#include <exception>

#include <boost/system/system_error.hpp>

#include "runtime/executor/work_handle_impl.h"
#include "runtime/logging/loggers.h"
#include "runtime/thread_name.h"

namespace {
const std::string kDefaultLabel = "Work";
constexpr int kSlowWorkMs = 500;
}  // namespace

WaitingExecutor::WaitingExecutor(logging::Logger& logger) : logger_(logger) {
    timer_thread_ = std::thread([this] { run_timer_thread(); });
}

WaitingExecutor::WaitingExecutor() : WaitingExecutor(logging::getLogger("Executor")) {}

WaitingExecutor::~WaitingExecutor() {
    time_to_quit();
    timer_context_.stop();
    timer_thread_.join();
    // Pending timers are abandoned with the handle list and the timer context;
    // queued items are dropped with the queue. Nothing runs.
    std::lock_guard<std::mutex> lock(timer_mutex_);
    scheduled_.clear();
}

void WaitingExecutor::add_work(std::function<void()> work, unsigned short id) {
    add_work(std::move(work), id, kDefaultLabel);
}

void WaitingExecutor::add_work(std::function<void()> work, unsigned short id,
                               const std::string& name) {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    queue_.push_back(ContextualWorkItem{std::move(work), id, name.empty() ? kDefaultLabel : name});
    work_condition_.notify_one();
}

std::shared_ptr<vanta::executor::WorkHandle> WaitingExecutor::schedule_work(
    std::function<void()> work, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(timer_mutex_);
    auto wrapper = [this, work = std::move(work)] { add_work(work, 0); };
    auto handle = std::make_shared<vanta::executor::WorkHandleImpl>(timer_context_, delay,
                                                                    std::move(wrapper));
    scheduled_.push_back(handle);
    timer_condition_.notify_one();
    return handle;
}

bool WaitingExecutor::empty() const {
    return queue_.empty();
}

unsigned WaitingExecutor::size() const {
    return static_cast<unsigned>(queue_.size());
}

WaitingExecutor::ContextualWorkItem WaitingExecutor::fetch_work() {
    ContextualWorkItem item = std::move(queue_.front());
    queue_.pop_front();
    return item;
}

void WaitingExecutor::process_work(ContextualWorkItem& item) {
    const auto start = std::chrono::system_clock::now();
    try {
        item.work();
    } catch (const std::exception& e) {
        logger_.info("{}(id={}) threw exception {}", item.name, item.id, e.what());
        throw;
    }
    const auto elapsed_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::system_clock::now() - start)
                                .count();
    const int elapsed_ms = static_cast<int>(elapsed_ns / 1000000);
    if (elapsed_ms > kSlowWorkMs) {
        logger_.info("{}(id={}) took {} ms to finish", item.name, item.id, elapsed_ms);
    }
}

void WaitingExecutor::time_to_quit() {
    stop_ = true;
    {
        std::lock_guard<std::mutex> lock(queue_mutex_);
        work_condition_.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(timer_mutex_);
        timer_condition_.notify_one();
    }
}

bool WaitingExecutor::is_work_scheduled() const {
    return !scheduled_.empty();
}

void WaitingExecutor::run_timer_thread() {
    vanta::set_thread_name("executor_sched");
    while (!stop_) {
        {
            std::unique_lock<std::mutex> lock(timer_mutex_);
            timer_condition_.wait(lock, [this] { return !scheduled_.empty() || stop_; });
        }
        boost::system::error_code ec;
        timer_context_.run(ec);
        if (ec) {
            throw boost::system::system_error(ec);
        }
        {
            std::lock_guard<std::mutex> lock(timer_mutex_);
            scheduled_.erase(std::remove_if(scheduled_.begin(), scheduled_.end(),
                                            [](const auto& h) { return !h->is_scheduled(); }),
                             scheduled_.end());
        }
        timer_context_.restart();
    }
}
