#pragma once

#include <functional>
#include <string>

#include "pubsub/pubsub_message.h"

namespace vanta {

// Through this a plugin binds a bus topic to one of its handlers. Only plugin
// constructors call it; the first registration of a topic wins.
class PluginRegistrar {
  public:
    virtual ~PluginRegistrar() = default;
    virtual void register_event_handler(
        const std::string& topic, std::function<void(const pubsub::PubSubMessage&)> handler) = 0;
};

}  // namespace vanta
