#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pubsub/subscribe_interface.h"
#include "pubsub/subscriber.h"

namespace vanta::pubsub {

// Threading: that of the subscribe interface (GrpcSubscriber: one reader
// thread; stop_reading() from anywhere).
class SubscriberImpl final : public Subscriber {
  public:
    // Subscribes as `name` at the broker's subscribe service at `address`.
    SubscriberImpl(const std::string& name, const std::string& address);
    // Subscribes as `name` through `subscribe`. REQUIRES: `subscribe` is not null.
    SubscriberImpl(const std::string& name, std::unique_ptr<SubscribeInterface> subscribe);

    SubscriberImpl(const SubscriberImpl&) = delete;
    SubscriberImpl& operator=(const SubscriberImpl&) = delete;

    std::string name() const override;
    bool subscribe(std::vector<std::string> topics) override;
    std::vector<std::string> subscriptions() override;
    bool read(PubSubMessage& message) const override;
    void stop_reading() const override;
    bool restart() override;
    void set_timeout(std::chrono::milliseconds timeout) override;
    std::chrono::milliseconds timeout() const override;

  private:
    const std::string name_;
    const std::unique_ptr<SubscribeInterface> subscribe_;
};

}  // namespace vanta::pubsub
