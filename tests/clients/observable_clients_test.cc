// Every observable backend client over the event-stream mechanism, one row
// per backend: the words its client writes when observing starts and stops,
// how it refuses a second observer, and what its observers are told of the
// backend's events. The mechanism itself (reconnection, stale stream ends,
// the bounded half-close) is tested once, in
// tests/rpc/client/observable_client_test.cc; the call-control client's own
// reconnection rule and texts are tested here after the table.

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "clients/accountmanager/accountmanager_client_impl.h"
#include "clients/avatar/avatar_client_impl.h"
#include "clients/calendar/calendar_client_impl.h"
#include "clients/calling/calling_client.h"
#include "clients/configmanager/configmanager_client_impl.h"
#include "clients/krellconfigmanager/krellconfigmanager_client_impl.h"
#include "clients/networkstatusreporter/networkstatusreporter_client_impl.h"
#include "clients/nfc/nfc_client_impl.h"
#include "clients/nimbobranding/nimbobranding_client_impl.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client_impl.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"
#include "clients/sharegovernor/sharegovernor_client_impl.h"
#include "clients/systemcontroller/systemcontroller_client_impl.h"
#include "runtime/logging/loggers.h"
#include "sim/accountmanager_backend.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/calendar_backend.h"
#include "sim/calling_backend.h"
#include "sim/configmanager_backend.h"
#include "sim/krellconfigmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nfc_backend.h"
#include "sim/nimbobranding_backend.h"
#include "sim/nimboconfigmanager_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/sharegovernor_backend.h"
#include "sim/systemcontroller_backend.h"
#include "support/console_capture.h"
#include "support/labelling_executor.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// What an observer was told, in order, from the stream's reader thread.
class Told {
  public:
    void add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(entry);
    }
    std::vector<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    bool wait_for(size_t count) {
        return wait_until([&] { return seen().size() >= count; }, 5s);
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

// What one observation of a backend showed.
struct Observation {
    std::vector<std::string> journal;  // what the backend read, then "half-close"
    std::vector<std::string> told;     // "ready" or what the observer was given
    std::string refusal;               // the error of a second observer
};

using Run = std::function<Observation(const std::vector<std::string>& events, size_t told)>;

struct SetObserverCall {
    template <typename Client, typename OnEvent, typename OnReady>
    void operator()(Client& client, const OnEvent& on_event, const OnReady& on_ready) const {
        client.SetObserver(on_event, on_ready);
    }
};

// Observes a `Fake` backend through the client that `make` builds: observes
// with `observe`, has the backend send `events` (text format), waits until
// the observer has been told `told` things (each described by `describe`),
// tries a second observer, and removes the observer.
template <typename Fake, typename WireEvent, typename Make, typename StreamsOf, typename Describe,
          typename Observe = SetObserverCall>
Run observing(Make make, StreamsOf streams_of, Describe describe, Observe observe = {}) {
    return [=](const std::vector<std::string>& events, size_t told_count) {
        TempDir dir;
        const std::string address = dir.socket_address("backend");
        Fake fake;
        sim::BackendServer server(address, {&fake});
        LabellingExecutor executor;
        auto client = make(executor, address);
        auto& streams = streams_of(fake);
        Told told;
        const auto on_event = [&told, describe](const auto&... values) {
            told.add(describe(values...));
        };
        const auto on_ready = [&told] { told.add("ready"); };

        Observation observation;
        observe(*client, on_event, on_ready);
        if (streams.wait_for_journal(1)) {
            for (const std::string& text : events) {
                WireEvent event;
                EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text, &event)) << text;
                streams.publish(event);
            }
            told.wait_for(told_count);
        }
        try {
            observe(*client, on_event, on_ready);
        } catch (const std::runtime_error& e) {
            observation.refusal = e.what();
        }
        client->RemoveObserver();
        streams.wait_for_journal(3);
        observation.journal = streams.journal();
        observation.told = told.seen();
        return observation;
    };
}

const auto kMessage = [](const auto& event) { return event.ShortDebugString(); };
const auto kItself = [](auto& fake) -> auto& {
    return fake;
};
const auto kStreams = [](auto& fake) -> auto& {
    return fake.streams;
};
const auto kEvents = [](auto& fake) -> auto& {
    return fake.events;
};

// One observable backend.
struct Backend {
    std::string name;
    std::string observer;  // opens the refusal of a second observer
    std::vector<std::string> events;
    std::vector<std::string> told;
    Run run;
    std::string start = "unsubscribe=false";  // what its client writes when observing starts
    std::string stop = "unsubscribe=true";    // ... and when it stops
};

std::vector<Backend> observable_backends() {
    return {
        {"system controller",
         "systemcontroller::SetObserver",
         {"what: STREAM_STARTED", "what: SYSTEM_STATE_CHANGED"},
         {"ready", "what: SYSTEM_STATE_CHANGED"},
         observing<sim::SystemControllerBackend, systemcontroller::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<systemcontroller::ClientImpl>(
                     endpoint_at(device_endpoints().systemcontroller, address, 2000ms),
                     logging::getLogger("SystemControllerClient"), &executor);
             },
             kStreams, kMessage)},
        {"avatar",
         "avatar::SetObserver",
         {"stream_started {}", "avatar_info { uuid: \"a\" }"},
         {"ready", "avatar_info { uuid: \"a\" }"},
         observing<sim::AvatarBackend, avatar::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<avatar::ClientImpl>(
                     endpoint_at(device_endpoints().avatar, address, 2000ms), &executor);
             },
             kStreams, kMessage)},
        {"network status reporter",
         "networkstatusreporter::SetObserver",
         {"what: STREAM_STARTED", "what: BOOTSTRAP_STATE_CHANGED"},
         {"ready", "what: BOOTSTRAP_STATE_CHANGED"},
         observing<sim::NetworkStatusReporterBackend, networkstatusreporter::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<networkstatusreporter::ClientImpl>(
                     endpoint_at(device_endpoints().networkstatusreporter, address, 2000ms),
                     &executor);
             },
             kStreams, kMessage)},
        {"configuration manager",
         "configmanager::SetObserver",
         {"what: STREAM_STARTED", "what: LOCALE_CHANGED"},
         {"ready", "what: LOCALE_CHANGED"},
         observing<sim::ConfigManagerBackend, configmanager::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<configmanager::ClientImpl>(
                     endpoint_at(device_endpoints().configmanager, address, 2000ms), &executor);
             },
             kStreams, kMessage)},
        {"krell configuration manager",
         "krellconfigmanager::SetObserver",
         {"what: STREAM_STARTED", "what: ACCOUNT_STATE_CHANGED"},
         {"ready", "what: ACCOUNT_STATE_CHANGED"},
         observing<sim::KrellConfigManagerBackend, krellconfigmanager::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<krellconfigmanager::ClientImpl>(
                     endpoint_at(device_endpoints().krellconfigmanager, address, 2000ms),
                     &executor);
             },
             kStreams, kMessage)},
        {"nimbo configuration manager",
         "nimboconfigmanager::SetObserver",
         {"what: STREAM_STARTED", "what: ACCOUNT_CHANGED"},
         {"ready", "what: ACCOUNT_CHANGED"},
         observing<sim::NimboConfigManagerBackend, nimboconfigmanager::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<nimboconfigmanager::ClientImpl>(
                     endpoint_at(device_endpoints().nimboconfigmanager, address, 2000ms),
                     &executor);
             },
             kStreams, kMessage)},
        // The reporter announces no stream start and asks with `subscribe`.
        {"nimbo status reporter",
         "nimbostatusreporter::SetObserver",
         {"what: CALENDAR_CHANGED", "what: METRICS_CHANGED"},
         {"what: CALENDAR_CHANGED", "what: METRICS_CHANGED"},
         observing<sim::NimboStatusReporterBackend, nimbostatusreporter::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<nimbostatusreporter::ClientImpl>(
                     endpoint_at(device_endpoints().nimbostatusreporter, address, 2000ms),
                     &executor);
             },
             kStreams, kMessage),
         "subscribe=true",
         "subscribe=false"},
        {"share governor",
         "sharegovernor::SetObserver",
         {"stream_started {}", "active_shares_changed {}"},
         {"ready", "active_shares_changed { }"},
         observing<sim::ShareGovernorBackend, sharegovernor::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<sharegovernor::ClientImpl>(
                     executor, endpoint_at(device_endpoints().share_governor, address, 2000ms),
                     logging::getLogger("ShareGovernorClient"));
             },
             kEvents, kMessage)},
        {"nfc",
         "nfc::SetObserver",
         {"stream_started {}", "card_state_changed { state: CARD_INSERTED }"},
         {"ready", "CARD_INSERTED"},
         observing<sim::NfcBackend, nfc::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<nfc::ClientImpl>(
                     executor, endpoint_at(device_endpoints().nfc, address, 2000ms));
             },
             kItself, [](nfc::CardState state) { return nfc::CardState_Name(state); })},
        // Branding tells what changed, and nothing for UNKNOWN_CHANGE.
        {"branding",
         "nimbobranding::SetObserver",
         {"what: STREAM_STARTED", "what: UNKNOWN_CHANGE", "what: SIGNAGE_STARTED"},
         {"ready", "SIGNAGE_STARTED"},
         observing<sim::NimboBrandingBackend, nimbobranding::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<nimbobranding::ClientImpl>(
                     executor, endpoint_at(device_endpoints().nimbobranding, address, 2000ms));
             },
             kItself,
             [](nimbobranding::EventType what) { return nimbobranding::EventType_Name(what); })},
        // The calendar observes under its own names and announces nothing.
        {"calendar",
         "calendar::Subscribe",
         {"status: SUCCESS list { items { subject: \"one\" } }"},
         {"status: SUCCESS list { items { subject: \"one\" } }"},
         observing<sim::CalendarBackend, calendar::CalendarUpdate>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<calendar::CalendarClientImpl>(
                     executor, endpoint_at(device_endpoints().calendar, address, 1000ms));
             },
             kItself, kMessage,
             [](calendar::CalendarClient& client, const auto& on_update, const auto& /*ready*/) {
                 client.Subscribe(on_update);
             }),
         "subscribe=true",
         "subscribe=false"},
        {"account manager",
         "accountmanager::SetObserver",
         {"what: STREAM_STARTED", "what: ACCOUNT_REGISTRATION_CHANGED account_id { id: \"a1\" }"},
         {"ready", "1:a1"},
         observing<sim::AccountManagerBackend, accountmanager::Event>(
             [](Executor& executor, const std::string& address) {
                 return std::make_unique<accountmanager::ClientImpl>(
                     executor, endpoint_at(device_endpoints().account_manager, address, 2000ms),
                     logging::getLogger("AccountManagerClient"));
             },
             kEvents,
             [](accountmanager::StateChange change, const std::string& account_id) {
                 return std::to_string(static_cast<int>(change)) + ":" + account_id;
             })},
        {"call control",
         "SetObserver",
         {"stream_ready {}", "participants { meeting_id: 1 }"},
         {"ready", "participants { meeting_id: 1 }"},
         observing<sim::CallingBackend, calling::Event>(
             [](Executor& executor, const std::string& address) {
                 return calling::create_client(
                     executor, endpoint_at(device_endpoints().callproxy, address, 7000ms));
             },
             kItself, kMessage)},
    };
}

TEST(ObservableClients, EachBackendsWordsRefusalAndEventCases) {
    for (const Backend& backend : observable_backends()) {
        SCOPED_TRACE(backend.name);
        const Observation seen = backend.run(backend.events, backend.told.size());
        EXPECT_THAT(seen.journal, ElementsAre(backend.start, backend.stop, "half-close"));
        EXPECT_EQ(seen.refusal, backend.observer + " : Only one observer per client at a time");
        EXPECT_THAT(seen.told, ElementsAreArray(backend.told));
    }
}

// The call-control client reconnects whenever it has an event callback (its
// plugin gives no ready callback) and logs how that went.
TEST(CallingClientStream, ReconnectsWithOnlyAnEventCallbackAndSaysHowItWent) {
    ConsoleCapture console;
    TempDir dir;
    const std::string address = dir.socket_address("callproxy");
    sim::CallingBackend backend;
    sim::BackendServer server(address, {&backend});
    LabellingExecutor executor;
    const auto client = calling::create_client(
        executor, endpoint_at(device_endpoints().callproxy, address, 7000ms));
    Told told;
    const auto count_lines = [&](const std::string& text) {
        const auto lines = console.lines();
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    };

    client->SetObserver([&](const calling::Event& event) { told.add(event.ShortDebugString()); },
                        nullptr);
    ASSERT_TRUE(backend.wait_for_opened(1));
    calling::Event ready;
    ready.mutable_stream_ready();
    backend.publish(ready);
    calling::Event participants;
    participants.mutable_participants()->set_meeting_id(4);
    backend.publish(participants);
    ASSERT_TRUE(told.wait_for(1));

    backend.close_streams();
    ASSERT_TRUE(wait_until([&] { return executor.count("reconnect_stream") == 1; }, 5s));
    ASSERT_TRUE(wait_until(
        [&] {
            executor.run();
            return backend.opened() == 2;
        },
        10s));
    EXPECT_EQ(count_lines("CallProxyClient I: Stream reconnect succeeded with channel_state="), 1);
    backend.publish(participants);
    ASSERT_TRUE(told.wait_for(2));
    EXPECT_THAT(told.seen(),
                ElementsAre(participants.ShortDebugString(), participants.ShortDebugString()));

    // Without an event callback nothing is set up again.
    client->RemoveObserver();
    client->SetObserver(nullptr, nullptr);
    ASSERT_TRUE(backend.wait_for_opened(3));
    backend.close_streams();
    ASSERT_TRUE(wait_until(
        [&] { return count_lines("CallProxyClient I: Stream reconnect failed") == 1; }, 5s));
    EXPECT_EQ(executor.count("reconnect_stream"), 1u);
    client->RemoveObserver();
}

}  // namespace
}  // namespace vanta::testing
