// The whole API service on a catalogue moved into a temporary directory: its
// requests, its bus publishes and its bus subscription all go to the test's
// own sockets, so this runs beside anything else, without a private /tmp.

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "api_harness.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "sim/volumemgr_backend.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(ApiOnTemporarySockets, RequestsAndTheBusGoToTheCataloguesSockets) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    sim::VolumeMgrBackend volume;
    volumemgr::VolumeStatus current;
    current.set_volume(35);
    volume.reply("GetCurrentVolume", current);
    sim::BackendServer volume_server(endpoints.volumemgr.address, {&volume});
    sim::BusBroker broker({endpoints.pubservice.address, endpoints.subservice.address});

    ApiHarness api(dir.socket_address("vantaapi_service"), endpoints);
    auto stub = api.client();

    grpc::ClientContext volume_context;
    google::protobuf::Empty empty;
    vantaapi::VolumeStatus answer;
    const grpc::Status status = stub->GetCurrentVolume(&volume_context, empty, &answer);
    ASSERT_TRUE(status.ok()) << status.error_message();
    EXPECT_EQ(answer.volume(), 35u);

    grpc::ClientContext wake_context;
    vantaapi::UXWakeUpRequest wake_up;
    wake_up.set_trigger(vantaapi::UXWakeUpRequest::BUTTON);
    vantaapi::RequestStatus woken;
    ASSERT_TRUE(stub->UXWakeUp(&wake_context, wake_up, &woken).ok());
    ASSERT_TRUE(broker.wait_for_publish_requests(1));
    EXPECT_EQ(broker.publish_requests().front().data().topic(), "UXWakeUpEvent");

    EventStream events(*stub);
    ASSERT_EQ(events.wait_for(1).size(), 1u);
    ASSERT_TRUE(broker.wait_for_open_streams("VantaApi"));
    pubsub::PubSubMsg progress;
    progress.set_topic("ImageUpgradeEvent");
    progress.set_event(1);
    progress.set_data("7");
    broker.deliver(progress);
    const auto received = events.wait_for(2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].image_upgrade_progress().progress(), 7);
}

}  // namespace
}  // namespace vanta::testing
