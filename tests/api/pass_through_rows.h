#pragma once

// What each API operation sends its backend and answers from the backend's
// reply: one row per case, every message in protobuf text format, checked by
// one test (pass_through_test.cc) over a real connection to the service with
// every backend simulated.

#include <string>
#include <utility>
#include <vector>

namespace vanta::testing {

// One backend operation that the API operation calls.
struct BackendExchange {
    // The backend's package and operation: "volumemgr.SetVolume".
    std::string operation;
    // What the backend answers (empty: the empty message).
    std::string reply;
    // What the backend must be sent.
    std::string sent;
};

struct PassThroughRow {
    std::string operation;
    std::string request;
    // The backend calls the operation makes, in any order, and no others.
    std::vector<BackendExchange> backend;
    // The answer, with status OK.
    std::string answer;
};

// A row with one backend call.
inline PassThroughRow row(std::string operation, std::string request, std::string backend_operation,
                          std::string reply, std::string sent, std::string answer) {
    return {std::move(operation),
            std::move(request),
            {{std::move(backend_operation), std::move(reply), std::move(sent)}},
            std::move(answer)};
}

// Call control.
std::vector<PassThroughRow> calling_pass_through_rows();

// Audio, ringer, reset, system, screen, HDMI input, 802.1X, upgrades, features.
std::vector<PassThroughRow> devices_pass_through_rows();

// Network, Wi-Fi, access point, configuration, ultrasound, avatar, media session.
std::vector<PassThroughRow> network_pass_through_rows();

// Certificates, wired 802.1X set-up, branding, cloud status, room control,
// shares, phone book, accounts, calendar.
std::vector<PassThroughRow> plugins_pass_through_rows();

}  // namespace vanta::testing
