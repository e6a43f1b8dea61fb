#pragma once

// Where the daemon finds each backend it calls, what it calls the backend in
// errors, and how long each call may take: one row per backend, one table.
// Every client factory takes its row from here.

#include <chrono>
#include <string>
#include <vector>

namespace vanta {

// The directory of the device's service sockets.
inline constexpr const char* kDeviceSocketDirectory = "/tmp/";

// One backend as the daemon reaches it.
struct Endpoint {
    // The backend's gRPC target ("unix:/tmp/volumemgr_service"); with a
    // registry name, the fallback when the registry holds no entry.
    std::string address;
    // The name the service registry is asked for before `address` is used;
    // empty when the backend is never looked up.
    std::string registry_name;
    // The backend's name in log lines and error texts ("VolumeManager").
    std::string service_name;
    // The deadline of each call; 0 means none.
    std::chrono::milliseconds deadline{0};
    // The registry asked for `registry_name`, and how long it may take.
    std::string registry_address;
    std::chrono::milliseconds registry_timeout{0};
};

// The last part of an endpoint's socket path: "volumemgr_service" for
// "unix:/tmp/volumemgr_service".
std::string socket_name(const Endpoint& endpoint);

// The row of every backend the daemon calls.
struct EndpointCatalogue {
    // Call control.
    Endpoint callproxy;

    // Accounts, sharing, phone book, avatar.
    Endpoint account_manager;
    Endpoint share_governor;
    Endpoint phonebook;
    Endpoint avatar;

    // Configuration and security.
    Endpoint configmanager;
    Endpoint krellconfigmanager;
    Endpoint krellsecurity;
    Endpoint nimboconfigmanager;
    Endpoint certificatemanager;

    // Audio, ringer, reset, system, screen, HDMI input, 802.1X, upgrades,
    // features.
    Endpoint ringer;
    Endpoint volumemgr;
    Endpoint reset;
    Endpoint systemcontroller;
    Endpoint screensetting;
    Endpoint hdmirx;
    Endpoint ieee8021x;
    Endpoint upgrademanager;
    Endpoint featuremanager;

    // Network, Wi-Fi, access point, ultrasound.
    Endpoint networkmanager;
    Endpoint networkstatusreporter;
    Endpoint wifi;
    Endpoint accesspoint;
    Endpoint nimboultrasound;

    // Cloud: branding, room control, status reporter, calendar, NFC.
    Endpoint nimbobranding;
    Endpoint nimboroomcontrol;
    Endpoint nimbostatusreporter;
    Endpoint calendar;
    Endpoint nfc;

    // Media and media session.
    Endpoint media;
    Endpoint mediasession;

    // Problem reports and metrics.
    Endpoint problemreporter;
    Endpoint problemreportstatus;
    Endpoint metrics_dispatch;

    // The bus broker's two services and the service registry.
    Endpoint pubservice;
    Endpoint subservice;
    Endpoint service_registry;

    // The daemon's own services: the API, which the command gateway calls as
    // any local client does, and the gateway itself.
    Endpoint vantaapi;
    Endpoint zapigateway;

    struct Row {
        // The member's name: "volumemgr".
        std::string name;
        Endpoint endpoint;
    };
    // Every row, in declaration order.
    std::vector<Row> rows() const;
};

// The device's catalogue: the fixed sockets in /tmp and the registry names.
const EndpointCatalogue& device_endpoints();

// The device's catalogue with every socket in `directory` instead of /tmp
// (same socket names) and no registry look-ups, so that a whole service can
// run against backends on temporary sockets without waiting for a registry.
EndpointCatalogue endpoints_in_directory(const std::string& directory);

}  // namespace vanta
