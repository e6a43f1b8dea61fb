#pragma once

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"

namespace vanta::testing {

// Keeps every topic binding the plugins make and hands bus messages to the
// handlers bound to their topic, as the API service's dispatcher does.
class RecordingRegistrar final : public PluginRegistrar {
  public:
    using Handler = std::function<void(const pubsub::PubSubMessage&)>;

    void register_event_handler(const std::string& topic, Handler handler) override {
        bindings_.emplace_back(topic, std::move(handler));
    }

    // Calls the one handler bound to the message's topic; throws
    // std::logic_error when none or several are bound. Exceptions of the
    // handler reach the caller.
    void dispatch(const pubsub::PubSubMessage& message) const {
        const Handler* found = nullptr;
        for (const auto& binding : bindings_) {
            if (binding.first != message.msg().topic()) {
                continue;
            }
            if (found != nullptr) {
                throw std::logic_error("several handlers bound to " + binding.first);
            }
            found = &binding.second;
        }
        if (found == nullptr) {
            throw std::logic_error("no handler bound to " + message.msg().topic());
        }
        (*found)(message);
    }

    // The topics bound, each once, in order.
    std::vector<std::string> topics() const {
        std::set<std::string> topics;
        for (const auto& binding : bindings_) {
            topics.insert(binding.first);
        }
        return {topics.begin(), topics.end()};
    }

  private:
    std::vector<std::pair<std::string, Handler>> bindings_;
};

}  // namespace vanta::testing
