// Every observable backend client over the event-stream mechanism, one row
// per backend: the words its client writes when observing starts and stops,
// how it refuses a second observer, and what its observers are told of the
// backend's events. The mechanism itself (reconnection, stale stream ends,
// the bounded half-close) is tested once, in
// tests/rpc/client/observable_client_test.cc; the call-control client's own
// reconnection rule is tested here after the table.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "clients/accountmanager/accountmanager_client.h"
#include "clients/avatar/avatar_client.h"
#include "clients/calendar/calendar_client.h"
#include "clients/calling/calling_client.h"
#include "clients/configmanager/configmanager_client.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "clients/nfc/nfc_client.h"
#include "clients/nimbobranding/nimbobranding_client.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "clients/sharegovernor/sharegovernor_client.h"
#include "clients/systemcontroller/systemcontroller_client.h"
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

using Run = std::function<Observation(const std::string& catalogue_row,
                                      const std::vector<std::string>& events, size_t told)>;

// The device's catalogue row `name` served at `address`.
Endpoint endpoint_named(const std::string& name, const std::string& address) {
    for (const auto& row : device_endpoints().rows()) {
        if (row.name == name) {
            return endpoint_at(row.endpoint, address, 2000ms);
        }
    }
    throw std::invalid_argument("no catalogue row " + name);
}

struct SetObserverCall {
    template <typename Client, typename OnEvent, typename OnReady>
    void operator()(Client& client, const OnEvent& on_event, const OnReady& on_ready) const {
        client.SetObserver(on_event, on_ready);
    }
};

// Observes a `Fake` backend through the client that `make` builds for its
// catalogue row: observes with `observe`, has the backend send `events` (text
// format), waits until the observer has been told `told` things (each
// described by `describe`), tries a second observer, and removes the
// observer.
template <typename Fake, typename WireEvent, typename Make, typename StreamsOf, typename Describe,
          typename Observe = SetObserverCall>
Run observing(Make make, StreamsOf streams_of, Describe describe, Observe observe = {}) {
    return [=](const std::string& catalogue_row, const std::vector<std::string>& events,
               size_t told_count) {
        TempDir dir;
        const std::string address = dir.socket_address("backend");
        Fake fake;
        sim::BackendServer server(address, {&fake});
        LabellingExecutor executor;
        auto client = make(executor, endpoint_named(catalogue_row, address));
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

// The run of each backend, by its row of the device's endpoint catalogue; what
// each row sends and expects is in observable_clients.json.
using E = Executor;
using P = const Endpoint&;
const std::map<std::string, Run>& runs() {
    static const std::map<std::string, Run> runs = {
        {"systemcontroller",
         observing<sim::SystemControllerBackend, systemcontroller::Event>(
             [](E& x, P e) { return systemcontroller::create_client(x, e); }, kStreams, kMessage)},
        {"avatar",
         observing<sim::AvatarBackend, avatar::Event>(
             [](E& x, P e) { return avatar::create_avatar_client(x, e); }, kStreams, kMessage)},
        {"networkstatusreporter",
         observing<sim::NetworkStatusReporterBackend, networkstatusreporter::Event>(
             [](E& x, P e) { return networkstatusreporter::create_client(x, e); }, kStreams,
             kMessage)},
        {"configmanager",
         observing<sim::ConfigManagerBackend, configmanager::Event>(
             [](E& x, P e) { return configmanager::create_client(x, e); }, kStreams, kMessage)},
        {"krellconfigmanager",
         observing<sim::KrellConfigManagerBackend, krellconfigmanager::Event>(
             [](E& x, P e) { return krellconfigmanager::create_client(x, e); }, kStreams,
             kMessage)},
        {"nimboconfigmanager",
         observing<sim::NimboConfigManagerBackend, nimboconfigmanager::Event>(
             [](E& x, P e) { return create_nimboconfigmanager_client(x, e); }, kStreams, kMessage)},
        {"nimbostatusreporter",
         observing<sim::NimboStatusReporterBackend, nimbostatusreporter::Event>(
             [](E& x, P e) { return nimbostatusreporter::create_client(x, e); }, kStreams,
             kMessage)},
        {"share_governor",
         observing<sim::ShareGovernorBackend, sharegovernor::Event>(
             [](E& x, P e) { return sharegovernor::create_client(x, e); }, kEvents, kMessage)},
        {"nfc", observing<sim::NfcBackend, nfc::Event>(
                    [](E& x, P e) { return nfc::create_client(x, e); }, kItself,
                    [](nfc::CardState state) { return nfc::CardState_Name(state); })},
        {"nimbobranding",
         observing<sim::NimboBrandingBackend, nimbobranding::Event>(
             [](E& x, P e) { return nimbobranding::create_client(x, e); }, kItself,
             [](nimbobranding::EventType what) { return nimbobranding::EventType_Name(what); })},
        // The calendar observes under its own names.
        {"calendar", observing<sim::CalendarBackend, calendar::CalendarUpdate>(
                         [](E& x, P e) { return create_calendar_client(x, e); }, kItself, kMessage,
                         [](calendar::CalendarClient& client, const auto& on_update,
                            const auto& /*ready*/) { client.Subscribe(on_update); })},
        {"account_manager",
         observing<sim::AccountManagerBackend, accountmanager::Event>(
             [](E& x, P e) { return accountmanager::create_client(x, e); }, kEvents,
             [](accountmanager::StateChange change, const std::string& account_id) {
                 return std::to_string(static_cast<int>(change)) + ":" + account_id;
             })},
        {"callproxy",
         observing<sim::CallingBackend, calling::Event>(
             [](E& x, P e) { return calling::create_client(x, e); }, kItself, kMessage)},
    };
    return runs;
}

// A row: the catalogue row of the backend's client ("backend"), the start of
// its refusal of a second observer, the events the backend "sent" and what
// the observer was "told"; the words its client writes when observing starts
// and stops, when not "unsubscribe=false" and "unsubscribe=true".
TEST(ObservableClients, EachBackendsWordsRefusalAndEventCases) {
    std::ifstream file(std::string(VANTA_CLIENTS_TEST_DATA) + "/observable_clients.json");
    const auto rows = nlohmann::json::parse(file);
    ASSERT_EQ(rows.size(), runs().size());
    for (const auto& row : rows) {
        const std::string backend = row.at("backend");
        SCOPED_TRACE(backend);
        const std::vector<std::string> told = row.at("told");
        const Observation seen = runs().at(backend)(
            backend, row.at("sent").get<std::vector<std::string>>(), told.size());
        EXPECT_THAT(seen.journal, ElementsAre(row.value("start", "unsubscribe=false"),
                                              row.value("stop", "unsubscribe=true"), "half-close"));
        EXPECT_EQ(seen.refusal, row.at("observer").get<std::string>() +
                                    " : Only one observer per client at a time");
        EXPECT_THAT(seen.told, ElementsAreArray(told));
    }
}

// The call-control client sets its stream up again only when it has an event
// callback (its plugin gives no ready callback): how it reconnects with one is
// seen through the plugin (plugins/plugin_events_test.cc); without one it
// says it failed.
TEST(CallingClientStream, WithoutAnEventCallbackItDoesNotReconnect) {
    ConsoleCapture console;
    TempDir dir;
    sim::CallingBackend backend;
    const auto endpoint = endpoint_named("callproxy", dir.socket_address("callproxy"));
    sim::BackendServer server(endpoint.address, {&backend});
    LabellingExecutor executor;
    const auto client = calling::create_client(executor, endpoint);

    client->SetObserver(nullptr, nullptr);
    ASSERT_TRUE(backend.wait_for_opened(1));
    backend.close_streams();
    ASSERT_TRUE(wait_until(
        [&] {
            const auto lines = console.lines();
            return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                       return line.find("CallProxyClient I: Stream reconnect failed") !=
                              std::string::npos;
                   }) == 1;
        },
        5s));
    EXPECT_EQ(executor.count("reconnect_stream"), 0u);
    EXPECT_EQ(backend.opened(), 1);
    client->RemoveObserver();
}

}  // namespace
}  // namespace vanta::testing
