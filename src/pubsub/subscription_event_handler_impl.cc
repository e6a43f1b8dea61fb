#include "pubsub/subscription_event_handler_impl.h"

#include <chrono>
#include <stdexcept>

namespace vanta::pubsub {

namespace {

constexpr std::chrono::milliseconds kRestartInterval{100};

}  // namespace

SubscriptionEventHandlerImpl::SubscriptionEventHandlerImpl(std::unique_ptr<Subscriber> subscriber)
    : subscriber_(std::move(subscriber)) {
    if (!subscriber_) {
        throw std::invalid_argument("SubscriptionEventHandlerImpl needs a subscriber");
    }
}

SubscriptionEventHandlerImpl::~SubscriptionEventHandlerImpl() {
    bool started = false;
    {
        std::lock_guard<std::mutex> lock(lifecycle_mutex_);
        started = reader_.joinable();
    }
    if (started) {
        stop();
    }
}

bool SubscriptionEventHandlerImpl::subscribe(std::vector<std::string> topics) {
    const bool accepted = subscriber_->subscribe(topics);
    if (accepted) {
        std::lock_guard<std::mutex> lock(topics_mutex_);
        topics_.insert(topics_.end(), topics.begin(), topics.end());
    }
    return accepted;
}

void SubscriptionEventHandlerImpl::start(std::function<void(const PubSubMessage&)> on_message) {
    std::lock_guard<std::mutex> lock(lifecycle_mutex_);
    if (reader_.joinable()) {
        throw std::logic_error("SubscriptionEventHandler is already started");
    }
    on_message_ = std::move(on_message);
    running_ = true;
    reader_ = std::thread([this] { read_messages(); });
}

void SubscriptionEventHandlerImpl::stop() {
    std::lock_guard<std::mutex> lock(lifecycle_mutex_);
    {
        // Under wake_mutex_ so that the reader cannot miss the wake-up between
        // looking at the flag and starting to wait.
        std::lock_guard<std::mutex> wake_lock(wake_mutex_);
        running_ = false;
    }
    wake_.notify_all();
    subscriber_->stop_reading();
    // A callback that stops its own handler cannot wait for itself; the
    // thread ends when the callback returns and is joined later.
    if (reader_.joinable() && reader_.get_id() != std::this_thread::get_id()) {
        reader_.join();
    }
}

void SubscriptionEventHandlerImpl::read_messages() {
    while (running_) {
        PubSubMessage message;
        if (subscriber_->read(message)) {
            on_message_(message);
            continue;
        }
        if (!running_ || !restart_subscriber()) {
            return;
        }
        resubscribe();
    }
}

bool SubscriptionEventHandlerImpl::restart_subscriber() {
    while (true) {
        {
            std::unique_lock<std::mutex> lock(wake_mutex_);
            if (wake_.wait_for(lock, kRestartInterval, [this] { return !running_; })) {
                return false;
            }
        }
        if (subscriber_->restart()) {
            return true;
        }
    }
}

void SubscriptionEventHandlerImpl::resubscribe() {
    // The broker forgot us when it restarted. The list is taken out and
    // subscribe() puts back what the broker accepts this time.
    std::vector<std::string> topics;
    {
        std::lock_guard<std::mutex> lock(topics_mutex_);
        topics.swap(topics_);
    }
    subscribe(std::move(topics));
}

}  // namespace vanta::pubsub
