// The plugins' translation of bus messages: any message on any topic they
// bind either publishes well-formed events or ends in a standard exception
// (which the daemon's bus dispatcher turns into its crash path); nothing else.
//
// Input: a serialized bus message (PubSubMsg). A topic that no plugin binds is
// replaced by one that does, chosen by the topic's hash, so that every input
// reaches a handler.

#include <cstdint>
#include <exception>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "fuzz/fuzz_target.h"
#include "plugins/plugin_catalogue.h"
#include "runtime/executor/manual_executor.h"
#include "support/capturing_writer.h"

namespace {

using vanta::pubsub::PubSubMessage;
using vanta::pubsub::PubSubMsg;
using vantaapi::VantaEvent;

class TopicRegistrar final : public vanta::PluginRegistrar {
  public:
    void register_event_handler(const std::string& topic,
                                std::function<void(const PubSubMessage&)> handler) override {
        handlers_.emplace(topic, std::move(handler));
    }
    // The topic itself when bound, else a bound topic picked by its hash.
    const std::string& bound_topic(const std::string& topic) const {
        const auto found = handlers_.find(topic);
        if (found != handlers_.end()) {
            return found->first;
        }
        auto picked = handlers_.begin();
        std::advance(picked, std::hash<std::string>{}(topic) % handlers_.size());
        return picked->first;
    }
    void dispatch(const PubSubMessage& message) const { handlers_.at(message.topic())(message); }

  private:
    std::map<std::string, std::function<void(const PubSubMessage&)>> handlers_;
};

// Every plugin, built once as the API service builds them; its executor is
// never run, so backend work they queue stays queued.
struct AllPlugins {
    AllPlugins() { publisher.add(&writer); }
    ManualExecutor executor;
    vanta::testing::EventPublisher publisher;
    vanta::testing::CapturingWriter<VantaEvent> writer;
    TopicRegistrar registrar;
    vanta::testing::Plugins plugins =
        vanta::testing::make_every_plugin(executor, publisher, registrar);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AllPlugins all;
    PubSubMsg message;
    if (!message.ParseFromArray(data, static_cast<int>(size))) {
        return 0;
    }
    message.set_topic(all.registrar.bound_topic(message.topic()));
    all.writer.clear();
    try {
        all.registrar.dispatch(PubSubMessage(message));
    } catch (const std::exception&) {
        return 0;
    }
    for (const VantaEvent& event : all.writer.events()) {
        require(event.data_case() != VantaEvent::DATA_NOT_SET, "an event without a case");
    }
    return 0;
}
