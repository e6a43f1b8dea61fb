#include "pubsub/publisher_factory.h"

#include "pubsub/publisher_impl.h"

namespace vanta::pubsub {

std::unique_ptr<Publisher> create_publisher_client(const std::string& name) {
    return std::make_unique<PublisherImpl>(name);
}

}  // namespace vanta::pubsub
