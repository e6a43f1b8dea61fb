#pragma once

// The simulated backends that keep state, all on one temporary socket, with
// what they announce on the bus written down one line each:
// "<topic> <event> [<data>] [<attribute>=<value> ...]".

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "sim/accesspoint_backend.h"
#include "sim/accountmanager_backend.h"
#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "sim/calendar_backend.h"
#include "sim/calling_backend.h"
#include "sim/configmanager_backend.h"
#include "sim/featuremanager_backend.h"
#include "sim/media_backend.h"
#include "sim/networkmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nimboultrasound_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/upgrademanager_backend.h"
#include "sim/volumemgr_backend.h"
#include "sim/wifi_backend.h"
#include "support/bus_translation_table.h"
#include "support/named_calls.h"
#include "support/temp_dir.h"

namespace vanta::sim {

struct SimulatedDevice {
    SimulatedDevice() {
        for (BusAnnouncer* announcer : {&volume.bus, &wifi.bus, &access_point.bus, &network.bus,
                                        &features.bus, &upgrades.bus, &ultrasound.bus}) {
            announcer->connect(
                [this](const pubsub::PublishRequest& request) { bus.publish(request); });
        }
        upgrades.set_step(std::chrono::milliseconds(1));
    }

    // `operation` ("volumemgr.VolumeMgr.SetVolume") answers `request` (both
    // in text form): see call_named.
    std::string call(const std::string& operation, const std::string& request = "") {
        return vanta::testing::call_named(channel, "vanta." + operation, request);
    }
    // A stream of `operation` opened with `request`, once its backend has it
    // open.
    std::unique_ptr<vanta::testing::NamedStream> subscribe(const std::string& operation,
                                                           const std::string& request = "") {
        auto stream =
            std::make_unique<vanta::testing::NamedStream>(channel, "vanta." + operation, request);
        EXPECT_TRUE(stream_open(operation)) << operation;
        return stream;
    }
    // What the backends announced on the bus, once `count` lines are there
    // (or after five seconds).
    std::vector<std::string> announced(size_t count) {
        bus.wait_for_publish_requests(count);
        std::vector<std::string> lines;
        for (const auto& request : bus.publish_requests()) {
            const auto& message = request.data();
            std::string line = message.topic() + " " + std::to_string(message.event());
            if (!message.data().empty()) {
                line += " " + message.data();
            }
            const std::map<std::string, std::string> sorted(message.attributes().begin(),
                                                            message.attributes().end());
            for (const auto& [key, value] : sorted) {
                line += " " + key + "=" + value;
            }
            lines.push_back(line);
        }
        return lines;
    }
    // The backends that listen on the bus hear `message` (text form).
    void hear(const std::string& message) {
        system.hear(vanta::testing::from_text<pubsub::PubSubMsg>(message));
    }
    // Whether the backend of `operation` has its stream open.
    bool stream_open(const std::string& operation) {
        const std::map<std::string, std::function<bool()>> waits = {
            {"configmanager.Configuration.Subscribe",
             [this] { return config.streams.wait_for_open_streams(1); }},
            {"accountmanager.AccountManager.Subscribe",
             [this] { return accounts.events.wait_for_open_streams(1); }},
            {"systemcontroller.SystemController.Subscribe",
             [this] { return system.streams.wait_for_open_streams(1); }},
            {"calling.Calling.Subscribe", [this] { return calling.wait_for_open_streams(1); }},
            {"calendar.Calendar.Subscribe", [this] { return calendar.wait_for_opened(1); }},
        };
        return waits.at(operation)();
    }

    vanta::testing::TempDir dir;
    // Hears the announcements (it serves nothing).
    BusBroker bus;
    VolumeMgrBackend volume;
    ConfigManagerBackend config;
    CallingBackend calling;
    CalendarBackend calendar{std::chrono::system_clock::from_time_t(1'800'000'000)};
    SystemControllerBackend system;
    WifiBackend wifi;
    AccessPointBackend access_point;
    NetworkManagerBackend network;
    FeatureManagerBackend features;
    UpgradeManagerBackend upgrades;
    NimboUltrasoundBackend ultrasound;
    NetworkStatusReporterBackend network_status;
    AccountManagerBackend accounts;
    MediaBackend media;
    const std::string address = dir.socket_address("backends");
    BackendServer server{
        address,
        {&volume, &config, &calling, &calendar, &system, &wifi, &access_point, &network, &features,
         &upgrades, &ultrasound, &network_status, &accounts, &media}};
    std::shared_ptr<grpc::Channel> channel =
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials());
};

}  // namespace vanta::sim
