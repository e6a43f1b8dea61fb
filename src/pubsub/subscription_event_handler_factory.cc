#include "pubsub/subscription_event_handler_factory.h"

#include "pubsub/subscriber_factory.h"
#include "pubsub/subscription_event_handler_impl.h"

namespace vanta::pubsub {

std::unique_ptr<SubscriptionEventHandler> create_subscription_event_handler(
    const std::string& name, const Endpoint& endpoint) {
    return std::make_unique<SubscriptionEventHandlerImpl>(create_subscriber(name, endpoint));
}

}  // namespace vanta::pubsub
