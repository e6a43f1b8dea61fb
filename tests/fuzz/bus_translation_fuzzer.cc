// The plugins' translation of bus messages: any message on any topic they
// bind either publishes well-formed events or ends in a standard exception
// (which the daemon's bus dispatcher turns into its crash path); nothing else.
//
// Input: a serialized bus message (PubSubMsg). A topic that no plugin binds is
// replaced by one that does, chosen by the topic's hash, so that every input
// reaches a handler.

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "plugins/plugin_catalogue.h"
#include "runtime/executor/manual_executor.h"
#include "support/capturing_writer.h"
#include "support/recording_registrar.h"

namespace {

using vanta::pubsub::PubSubMessage;
using vanta::pubsub::PubSubMsg;
using vantaapi::VantaEvent;

// The topic itself when bound, else a bound topic picked by its hash.
const std::string& bound_topic(const std::vector<std::string>& bound, const std::string& topic) {
    if (std::binary_search(bound.begin(), bound.end(), topic)) {
        return topic;
    }
    return bound[std::hash<std::string>{}(topic) % bound.size()];
}

// Every plugin, built once as the API service builds them; its executor is
// never run, so backend work they queue stays queued.
struct AllPlugins {
    AllPlugins() { publisher.add(&writer); }
    ManualExecutor executor;
    vanta::testing::EventPublisher publisher;
    vanta::testing::CapturingWriter<VantaEvent> writer;
    vanta::testing::RecordingRegistrar registrar;
    vanta::testing::Plugins plugins =
        vanta::testing::make_every_plugin(executor, publisher, registrar);
    const std::vector<std::string> topics = registrar.topics();
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AllPlugins all;
    PubSubMsg message;
    if (!message.ParseFromArray(data, static_cast<int>(size))) {
        return 0;
    }
    message.set_topic(bound_topic(all.topics, message.topic()));
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
