#include "bus_publishing.h"

#include "cli_errors.h"
#include "pubsub/publisher_factory.h"

namespace vanta::cli {

pubsub::PubSubMessage bus_message(const std::string& topic, int event,
                                  const std::vector<std::string>& rest) {
    pubsub::PubSubMessage message;
    message.msg().set_topic(topic);
    message.msg().set_event(event);
    auto next = rest.begin();
    if (next != rest.end() && next->find('=') == std::string::npos) {
        message.msg().set_data(*next++);
    }
    for (; next != rest.end(); ++next) {
        const auto equals = next->find('=');
        if (equals == std::string::npos) {
            throw UsageError("not key=value: '" + *next +
                             "' (only the first word after the "
                             "event can be data)");
        }
        (*message.msg().mutable_attributes())[next->substr(0, equals)] = next->substr(equals + 1);
    }
    return message;
}

void publish_on_bus(const pubsub::PubSubMessage& message, const std::string& address) {
    Endpoint broker = device_endpoints().pubservice;
    if (!address.empty()) {
        broker.address = address;
        broker.registry_name.clear();
    }
    const auto publisher = pubsub::create_publisher_client("vanta-cli", broker);
    if (!publisher->Publish(message)) {
        throw CallFailed("not published on the bus at " + broker.address + ": " +
                         publisher->GetLastFailureReason());
    }
}

}  // namespace vanta::cli
