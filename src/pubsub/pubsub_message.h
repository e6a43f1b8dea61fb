#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "pubsub.pb.h"

namespace vanta::pubsub {

// A message of the device's bus: a topic, attributes and a payload.
class PubSubMessage {
  public:
    PubSubMessage() = default;
    explicit PubSubMessage(PubSubMsg message) : message_(std::move(message)) {}
    virtual ~PubSubMessage() = default;

    // The attribute `key`, or an empty string when the message has none.
    std::string get_option(const std::string& key) const {
        const auto& attributes = message_.attributes();
        const auto it = attributes.find(key);
        return it != attributes.end() ? it->second : std::string();
    }

    const std::string& topic() const { return message_.topic(); }
    std::int32_t event() const { return message_.event(); }
    const std::string& data() const { return message_.data(); }

    const PubSubMsg& msg() const { return message_; }
    PubSubMsg& msg() { return message_; }

  private:
    PubSubMsg message_;
};

}  // namespace vanta::pubsub
