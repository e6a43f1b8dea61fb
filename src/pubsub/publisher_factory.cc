#include "pubsub/publisher_factory.h"

#include "pubsub/publisher_impl.h"
#include "rpc/client/service_address.h"

namespace vanta::pubsub {

std::unique_ptr<Publisher> create_publisher_client(const std::string& name,
                                                   const Endpoint& endpoint) {
    auto publisher = std::make_unique<PublisherImpl>(name, resolve_endpoint(endpoint).address);
    publisher->set_timeout(endpoint.deadline);
    return publisher;
}

}  // namespace vanta::pubsub
