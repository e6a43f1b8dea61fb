#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pubsub/subscriber.h"
#include "pubsub/subscription_event_handler.h"

namespace vanta::pubsub {

// Reads the subscriber's stream on a thread of its own and hands each message
// to the callback. When the stream breaks (the broker went away), it retries
// restart() every 100 ms and, once the stream is back, subscribes again to the
// topics it had, in the order they were first subscribed.
//
// Threading: the callback runs on the reader thread and must not throw
// (nothing catches it there). subscribe() and stop() may be called from any
// thread.
class SubscriptionEventHandlerImpl final : public SubscriptionEventHandler {
  public:
    // REQUIRES: `subscriber` is not null.
    explicit SubscriptionEventHandlerImpl(std::unique_ptr<Subscriber> subscriber);
    ~SubscriptionEventHandlerImpl() override;

    SubscriptionEventHandlerImpl(const SubscriptionEventHandlerImpl&) = delete;
    SubscriptionEventHandlerImpl& operator=(const SubscriptionEventHandlerImpl&) = delete;

    // Topics the broker refused are not remembered.
    bool subscribe(std::vector<std::string> topics) override;
    // Throws std::logic_error when the handler is already started.
    void start(std::function<void(const PubSubMessage&)> on_message) override;
    void stop() override;

  private:
    void read_messages();
    // Restarts the subscriber every 100 ms until that works; false when the
    // handler was stopped first.
    bool restart_subscriber();
    void resubscribe();

    const std::unique_ptr<Subscriber> subscriber_;
    std::atomic<bool> running_{false};
    std::thread reader_;
    std::mutex topics_mutex_;
    std::vector<std::string> topics_;
    std::function<void(const PubSubMessage&)> on_message_;

    // Serialises start() and stop().
    std::mutex lifecycle_mutex_;
    // Wakes the restart pause when stop() is called.
    std::mutex wake_mutex_;
    std::condition_variable wake_;
};

}  // namespace vanta::pubsub
