#include "pubsub/broker_address.h"

#include "pubsub/pubsub_constants.h"
#include "rpc/client/service_address.h"

namespace vanta::pubsub {

std::string publish_service_address() {
    return resolve_service_address(kPublishServiceName, kPublishServiceAddress);
}

std::string subscribe_service_address() {
    return resolve_service_address(kSubscribeServiceName, kSubscribeServiceAddress);
}

}  // namespace vanta::pubsub
