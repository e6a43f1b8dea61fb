#include "runtime/executor/work_handle_impl.h"

#include <stdexcept>
#include <string>

#include <boost/asio/error.hpp>

namespace vanta::executor {

WorkHandleImpl::WorkHandleImpl(boost::asio::io_context& context,
                               const std::chrono::milliseconds& delay, std::function<void()> work)
    : timer_(context, std::chrono::steady_clock::now() + delay),
      work_(std::move(work)),
      scheduled_(true) {
    // The timer's completion captures a raw pointer: the executor keeps a
    // reference to every handle until its completion has run.
    timer_.async_wait([this](const boost::system::error_code& ec) { timer_expired(ec); });
}

bool WorkHandleImpl::is_scheduled() const {
    return scheduled_;
}

void WorkHandleImpl::cancel() {
    timer_.cancel();
}

void WorkHandleImpl::timer_expired(const boost::system::error_code& ec) {
    scheduled_ = false;
    if (ec.value() == boost::asio::error::operation_aborted &&
        ec.category() == boost::system::system_category()) {
        return;
    }
    if (ec) {
        throw std::runtime_error("Error on timer expiry: " + std::string(ec.category().name()) +
                                 ":" + std::to_string(ec.value()));
    }
    work_();
}

}  // namespace vanta::executor
