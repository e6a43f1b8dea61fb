#include "pubsub/subscriber_factory.h"

#include "pubsub/subscriber_impl.h"
#include "rpc/client/service_address.h"

namespace vanta::pubsub {

std::unique_ptr<Subscriber> create_subscriber(const std::string& name, const Endpoint& endpoint) {
    auto subscriber = std::make_unique<SubscriberImpl>(name, resolve_endpoint(endpoint).address);
    subscriber->set_timeout(endpoint.deadline);
    return subscriber;
}

}  // namespace vanta::pubsub
