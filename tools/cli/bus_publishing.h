#pragma once

#include <string>
#include <vector>

#include "pubsub/pubsub_message.h"

namespace vanta::cli {

// The bus message of `vanta-cli publish <topic> <event> [data] [key=value ...]`:
// `rest` holds the data (its first entry, when that has no '=') and then the
// attributes. Throws UsageError for an attribute without '='.
pubsub::PubSubMessage bus_message(const std::string& topic, int event,
                                  const std::vector<std::string>& rest);

// Publishes `message` as "vanta-cli" on the device's broker, or on the
// broker at `address` when that is not empty. Throws CallFailed when the
// broker does not take it.
void publish_on_bus(const pubsub::PubSubMessage& message, const std::string& address);

}  // namespace vanta::cli
