// Every observable backend client over the event-stream mechanism, one row
// per backend: the words its client writes when observing starts and stops,
// how it refuses a second observer, and what its observers are told of the
// backend's events. The mechanism itself (reconnection, stale stream ends,
// the bounded half-close) is tested once, in
// tests/rpc/client/observable_client_test.cc; the call-control client's own
// reconnection rule is tested here after the table.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
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
#include "served_backend.h"
#include "sim/accountmanager_backend.h"
#include "sim/avatar_backend.h"
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
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/data_files.h"
#include "support/labelling_executor.h"
#include "support/told.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Runs one row of observable_clients.json.
using Run = std::function<void(const nlohmann::json& row)>;

// The device's catalogue row `name`.
Endpoint device_row(const std::string& name) {
    for (const auto& row : device_endpoints().rows()) {
        if (row.name == name) {
            return row.endpoint;
        }
    }
    throw std::invalid_argument("no catalogue row " + name);
}

const auto kSetObserver = [](auto& client, const auto& on_event, const auto& on_ready) {
    client.SetObserver(on_event, on_ready);
};
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

// Observes a `Fake` backend through the client that `make` builds for the
// row's catalogue row: observes with `observe`, has the backend send the
// row's events, waits until the observer has been told as many things as the
// row expects (each described by `describe`), tries a second observer, and
// removes the observer.
template <typename Fake, typename WireEvent, typename Make, typename StreamsOf,
          typename Describe = decltype(kMessage), typename Observe = decltype(kSetObserver)>
Run observing(Make make, StreamsOf streams_of, Describe describe = kMessage,
              Observe observe = kSetObserver) {
    return [=](const nlohmann::json& row) {
        Served<Fake> served(device_row(row.at("backend")));
        LabellingExecutor executor;
        auto client = make(executor, served.endpoint);
        auto& streams = streams_of(served.backend);
        Told told;
        const auto on_event = [&told, describe](const auto&... values) {
            told.add(describe(values...));
        };
        const auto on_ready = [&told] { told.add("ready"); };
        const std::vector<std::string> expected = row.at("told");

        observe(*client, on_event, on_ready);
        if (streams.wait_for_journal(1)) {
            for (const auto& text : row.at("sent").get<std::vector<std::string>>()) {
                streams.publish(from_text<WireEvent>(text));
            }
            told.wait_for(expected.size());
        }
        try {
            observe(*client, on_event, on_ready);
            ADD_FAILURE() << "a second observer was let in";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), row.at("observer").get<std::string>() +
                                    " : Only one observer per client at a time");
        }
        client->RemoveObserver();
        streams.wait_for_journal(3);
        EXPECT_THAT(streams.journal(),
                    ElementsAre(row.value("start", "unsubscribe=false"),
                                row.value("stop", "unsubscribe=true"), "half-close"));
        EXPECT_THAT(told.seen(), ElementsAreArray(expected));
    };
}

// The run of each backend, by its row of the device's endpoint catalogue; what
// each row sends and expects is in observable_clients.json.
const std::map<std::string, Run>& runs() {
    static const std::map<std::string, Run> runs = {
        {"systemcontroller", observing<sim::SystemControllerBackend, systemcontroller::Event>(
                                 systemcontroller::create_client, kStreams)},
        {"avatar",
         observing<sim::AvatarBackend, avatar::Event>(avatar::create_avatar_client, kStreams)},
        {"networkstatusreporter",
         observing<sim::NetworkStatusReporterBackend, networkstatusreporter::Event>(
             networkstatusreporter::create_client, kStreams)},
        {"configmanager", observing<sim::ConfigManagerBackend, configmanager::Event>(
                              configmanager::create_client, kStreams)},
        {"krellconfigmanager", observing<sim::KrellConfigManagerBackend, krellconfigmanager::Event>(
                                   krellconfigmanager::create_client, kStreams)},
        {"nimboconfigmanager", observing<sim::NimboConfigManagerBackend, nimboconfigmanager::Event>(
                                   create_nimboconfigmanager_client, kStreams)},
        {"nimbostatusreporter",
         observing<sim::NimboStatusReporterBackend, nimbostatusreporter::Event>(
             nimbostatusreporter::create_client, kStreams)},
        {"share_governor", observing<sim::ShareGovernorBackend, sharegovernor::Event>(
                               sharegovernor::create_client, kEvents)},
        {"nfc", observing<sim::NfcBackend, nfc::Event>(
                    nfc::create_client, kItself,
                    [](nfc::CardState state) { return nfc::CardState_Name(state); })},
        {"nimbobranding",
         observing<sim::NimboBrandingBackend, nimbobranding::Event>(
             nimbobranding::create_client, kItself,
             [](nimbobranding::EventType what) { return nimbobranding::EventType_Name(what); })},
        // The calendar observes under its own names.
        {"calendar", observing<sim::CalendarBackend, calendar::CalendarUpdate>(
                         create_calendar_client, kItself, kMessage,
                         [](calendar::CalendarClient& client, const auto& on_update,
                            const auto& /*ready*/) { client.Subscribe(on_update); })},
        {"account_manager",
         observing<sim::AccountManagerBackend, accountmanager::Event>(
             accountmanager::create_client, kEvents,
             [](accountmanager::StateChange change, const std::string& account_id) {
                 return std::to_string(static_cast<int>(change)) + ":" + account_id;
             })},
        {"callproxy",
         observing<sim::CallingBackend, calling::Event>(calling::create_client, kItself)},
    };
    return runs;
}

// A row: the catalogue row of the backend's client ("backend"), the start of
// its refusal of a second observer, the events the backend "sent" and what
// the observer was "told"; the words its client writes when observing starts
// and stops, when not "unsubscribe=false" and "unsubscribe=true".
TEST(ObservableClients, EachBackendsWordsRefusalAndEventCases) {
    const std::string path = std::string(VANTA_CLIENTS_TEST_DATA) + "/observable_clients.json";
    const auto rows = read_json(path);
    ASSERT_EQ(rows.size(), runs().size());
    for (const auto& row : rows) {
        const std::string backend = row.at("backend");
        SCOPED_TRACE(path + ": " + backend);
        runs().at(backend)(row);
    }
}

// The call-control client sets its stream up again only when it has an event
// callback (its plugin gives no ready callback): how it reconnects with one is
// seen through the daemon (faults/backend_restart_test.cc); without one it
// says it failed.
TEST(CallingClientStream, WithoutAnEventCallbackItDoesNotReconnect) {
    ConsoleCapture console;
    Served<sim::CallingBackend> served(device_endpoints().callproxy);
    LabellingExecutor executor;
    const auto client = calling::create_client(executor, served.endpoint);

    client->SetObserver(nullptr, nullptr);
    ASSERT_TRUE(served.backend.wait_for_opened(1));
    served.backend.close_streams();
    ASSERT_TRUE(wait_until(
        [&] { return console.count("CallProxyClient I: Stream reconnect failed") == 1; }, 5s));
    EXPECT_EQ(executor.count("reconnect_stream"), 0u);
    EXPECT_EQ(served.backend.opened(), 1);
    client->RemoveObserver();
}

}  // namespace
}  // namespace vanta::testing
