#include "pubsub/subscription_event_handler_factory.h"

#include "pubsub/subscriber_factory.h"
#include "pubsub/subscription_event_handler_impl.h"

namespace vanta::pubsub {

std::unique_ptr<SubscriptionEventHandler> create_subscription_event_handler(
    const std::string& name) {
    return std::make_unique<SubscriptionEventHandlerImpl>(create_subscriber(name));
}

}  // namespace vanta::pubsub
