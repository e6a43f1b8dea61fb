#include "pubsub/subscriber_factory.h"

#include "pubsub/broker_address.h"
#include "pubsub/subscriber_impl.h"

namespace vanta::pubsub {

std::unique_ptr<Subscriber> create_subscriber(const std::string& name) {
    return std::make_unique<SubscriberImpl>(name, subscribe_service_address());
}

}  // namespace vanta::pubsub
