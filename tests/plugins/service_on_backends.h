#pragma once

// Every backend simulated on its row of a catalogue moved into a temporary
// directory, and the whole API service calling them, with one Subscribe
// stream open: what a backend streams is read back as the API's subscribers
// see it.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/api_call.h"
#include "api/api_harness.h"
#include "api/device_backends.h"
#include "api/event_stream.h"
#include "sim/bus_broker.h"
#include "support/temp_dir.h"

namespace vanta::testing {

struct ServiceOnBackends {
    // Whether the API's stream has started (bounded wait); events published
    // before it started do not reach it.
    bool subscribed() { return !events.wait_for(1).empty(); }

    // `operation` called with the request and answered in protobuf text format.
    ApiAnswer call(const std::string& operation, const std::string& request = "") {
        return call_api(*channel, operation, request);
    }

    // The events published after the stream's start, once `count` of them have
    // arrived (or fewer after a bounded wait).
    std::vector<vantaapi::VantaEvent> published(size_t count) {
        std::vector<vantaapi::VantaEvent> received = events.wait_for(count + 1);
        EXPECT_EQ(received.size(), count + 1) << "events missing";
        if (!received.empty()) {
            received.erase(received.begin());
        }
        return received;
    }

    TempDir dir;
    EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    DeviceBackends backends{endpoints};
    // Without a broker the service's bus subscription keeps its main loop
    // busy retrying, and the service takes seconds to stop.
    sim::BusBroker broker{{endpoints.pubservice.address, endpoints.subservice.address}};
    ApiHarness api{dir.socket_address("vantaapi_service"), endpoints};
    std::unique_ptr<vantaapi::VantaApi::Stub> stub = api.client();
    std::shared_ptr<grpc::Channel> channel = grpc::CreateChannel(
        dir.socket_address("vantaapi_service"), grpc::InsecureChannelCredentials());
    EventStream events{*stub};
};

}  // namespace vanta::testing
