// The platform, problem-report and tone operations through a real API
// connection, with fake backends on the device's fixed sockets. Every case
// runs in a private /tmp.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <regex>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_harness.h"
#include "audio/tone_player.h"
#include "platform/device_identity.h"
#include "platform/manufacturing_data.h"
#include "platform/platform_info.h"
#include "platform/system_version.h"
#include "sim/backend_server.h"
#include "sim/media_backend.h"
#include "sim/problemreporter_backend.h"
#include "sim/problemreportstatus_backend.h"
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

grpc::ClientContext* with_deadline(grpc::ClientContext& context) {
    context.set_deadline(std::chrono::system_clock::now() + 10s);
    return &context;
}

// The fakes come up before the service, so that the tone player it creates
// finds its media backend.
class PlatformHandlersTest : public ::testing::Test {
  protected:
    sim::MediaBackend media_;
    sim::ProblemReporterBackend reporter_;
    sim::ProblemReportStatusBackend status_;
    sim::BackendServer media_server_{"unix:/tmp/media_service", {&media_}};
    sim::BackendServer reporter_server_{"unix:/tmp/problemreporter_service", {&reporter_}};
    sim::BackendServer status_server_{"unix:/tmp/problemreportstatus_service", {&status_}};
    ConsoleCapture console_;
    ApiHarness api_;
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_ = api_.client();
};

TEST_F(PlatformHandlersTest, SystemInfoComesFromThePlatform) {
    grpc::ClientContext context;
    vantaapi::SystemInfo info;
    ASSERT_TRUE(stub_->GetSystemInfo(with_deadline(context), {}, &info).ok());
    EXPECT_EQ(info.software_name(), "Vanta");
    EXPECT_EQ(info.product_name(), platform::get_product_name());
    EXPECT_EQ(info.model_name(), platform::get_model_name());
    EXPECT_EQ(info.ua_version(), platform::get_system_version());
    EXPECT_EQ(info.hardware_version(), platform::get_mfg_device_hardware_ver());
    EXPECT_EQ(info.device_serial_number(), platform::get_mfg_device_serial_number());
    EXPECT_EQ(info.device_identifier(),
              deviceidentifier::get_device_identifier(platform::get_mfg_device_wifi_mac_addr(),
                                                      info.device_serial_number()));
    EXPECT_TRUE(std::regex_match(
        info.device_identifier(),
        std::regex("[0-9a-f]{8}-[0-9a-f]{4}-5[0-9a-f]{3}-[0-9a-f]{4}-[0-9a-f]{12}")));
}

TEST_F(PlatformHandlersTest, InterfaceInfoAnswersTheMacAddressOrUnavailable) {
    grpc::ClientContext context;
    vantaapi::InterfaceInfoRequest request;
    request.set_interface_name("lo");
    vantaapi::InterfaceInfo info;
    ASSERT_TRUE(stub_->GetInterfaceInfo(with_deadline(context), request, &info).ok());
    EXPECT_EQ(info.mac_address(), "00:00:00:00:00:00");

    grpc::ClientContext missing;
    request.set_interface_name("nosuch9");
    const auto status = stub_->GetInterfaceInfo(with_deadline(missing), request, &info);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "get mac address FAILED");
}

TEST_F(PlatformHandlersTest, TestUrlConnectReportsTheResultOfTheConnection) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    socklen_t length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    vantaapi::TestUrl url;
    url.set_name("localhost");
    url.set_port(ntohs(address.sin_port));
    vantaapi::TestUrlResponse response;
    grpc::ClientContext context;
    ASSERT_TRUE(stub_->TestUrlConnect(with_deadline(context), url, &response).ok());
    EXPECT_EQ(response.ret_int_code(), 0);
    EXPECT_EQ(response.ret_str_code(), "Passed");
    EXPECT_EQ(response.ret_str_addr(), "127.0.0.1");

    close(listener);
    grpc::ClientContext closed;
    ASSERT_TRUE(stub_->TestUrlConnect(with_deadline(closed), url, &response).ok());
    EXPECT_EQ(response.ret_int_code(), 6);
    EXPECT_EQ(response.ret_str_code(), "Failed to Connect");
}

TEST_F(PlatformHandlersTest, ServiceCreatesTheTonePlayerAndToneOperationsUseIt) {
    size_t created = 0;
    for (const auto& line : console_.lines()) {
        created += line.find("Creating Tone Player") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(created, 1u);
    EXPECT_THAT(media_.cleaned_up(), ElementsAre(media::CHIME_CLIENT));
    // Later callers get the same player, whatever identity they ask for.
    EXPECT_EQ(audio::get_tone_player(true), audio::get_tone_player(false));

    vantaapi::RequestStatus answer;
    grpc::ClientContext stop;
    ASSERT_TRUE(stub_->StopTone(with_deadline(stop), {}, &answer).ok());
    EXPECT_TRUE(answer.success());
    EXPECT_EQ(media_.calls().back(), "StopTone");

    media_.fail("StopTone", grpc::Status(grpc::StatusCode::UNAVAILABLE, "gone"));
    grpc::ClientContext failed;
    ASSERT_TRUE(stub_->StopTone(with_deadline(failed), {}, &answer).ok());
    EXPECT_FALSE(answer.success());

    // No file name for the none tone: refused without a media call.
    media_.clear_calls();
    vantaapi::PlayToneRequest none;
    grpc::ClientContext play;
    ASSERT_TRUE(stub_->PlayTone(with_deadline(play), none, &answer).ok());
    EXPECT_FALSE(answer.success());
    EXPECT_TRUE(media_.calls().empty());
}

TEST_F(PlatformHandlersTest, ResetMakesTheNextUserCreateAFreshPlayer) {
    const auto first = audio::get_tone_player(false);
    EXPECT_TRUE(first->reset());
    const auto second = audio::get_tone_player(false);
    EXPECT_NE(first, second);
    EXPECT_EQ(audio::get_tone_player(false), second);
    // The new player frees what its predecessor may have left and allocates again.
    EXPECT_THAT(media_.cleaned_up(), ElementsAre(media::CHIME_CLIENT, media::CHIME_CLIENT));
    size_t created = 0;
    for (const auto& line : console_.lines()) {
        created += line.find("Creating Tone Player") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(created, 2u);
}

TEST_F(PlatformHandlersTest, PlayToneRefusesAnUnknownToneType) {
    vantaapi::PlayToneRequest request;
    request.set_type(static_cast<vantaapi::PlayToneRequest::tone>(4));
    vantaapi::RequestStatus answer;
    grpc::ClientContext context;
    const auto status = stub_->PlayTone(with_deadline(context), request, &answer);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(status.error_message(), "Unknown tone type");
}

TEST_F(PlatformHandlersTest, ProblemReportRequestsStartUploads) {
    vantaapi::UploadPRBRequest upload;
    upload.set_description("screen flickers");
    upload.add_collection_flags("include_historic");
    vantaapi::RequestStatus answer;
    grpc::ClientContext context;
    ASSERT_TRUE(stub_->UploadPRB(with_deadline(context), upload, &answer).ok());
    EXPECT_TRUE(answer.success());

    vantaapi::GetPRBRequest local;
    local.add_collection_flags("include_collectd");
    grpc::ClientContext get;
    ASSERT_TRUE(stub_->GetPRB(with_deadline(get), local, &answer).ok());
    EXPECT_TRUE(answer.success());

    ASSERT_TRUE(reporter_.wait_for_uploads(2));
    auto requests = reporter_.uploads();
    std::sort(requests.begin(), requests.end(), [](const auto& a, const auto& b) {
        return a.destination_type() < b.destination_type();
    });
    EXPECT_EQ(requests[0].destination_type(), problemreporter::CLOUD);
    EXPECT_EQ(requests[0].user().description(), "screen flickers");
    EXPECT_THAT(requests[0].collection_flags(), ElementsAre("include_historic"));
    EXPECT_EQ(requests[1].destination_type(), problemreporter::LOCAL_DISK);
    EXPECT_THAT(requests[1].collection_flags(), ElementsAre("include_collectd"));
}

TEST_F(PlatformHandlersTest, ProblemReportStatusIsCopiedFieldByField) {
    problemreportstatus::BundleStatusList list;
    auto& bundle = *list.add_bundles();
    bundle.set_problemreport_id("prb-5");
    bundle.add_sources("User");
    bundle.add_sources("Crash");
    bundle.set_bundle_name("prb-5.tar.gz");
    bundle.set_description("no audio");
    auto& event = *bundle.add_events();
    event.set_name("uploaded");
    event.set_event_message("done");
    event.set_timepoint(1700000000000);
    status_.answer(list);

    vantaapi::PRBStatuses statuses;
    grpc::ClientContext context;
    ASSERT_TRUE(stub_->GetPRBStatus(with_deadline(context), {}, &statuses).ok());
    ASSERT_EQ(statuses.bundles_size(), 1);
    const auto& copy = statuses.bundles(0);
    EXPECT_EQ(copy.problemreport_id(), "prb-5");
    EXPECT_THAT(copy.sources(), ElementsAre("User", "Crash"));
    EXPECT_EQ(copy.bundle_name(), "prb-5.tar.gz");
    EXPECT_EQ(copy.description(), "no audio");
    ASSERT_EQ(copy.events_size(), 1);
    EXPECT_EQ(copy.events(0).name(), "uploaded");
    EXPECT_EQ(copy.events(0).event_message(), "done");
    EXPECT_EQ(copy.events(0).timepoint(), 1700000000000);

    // The status client's errors are not mapped.
    status_.fail(grpc::Status(grpc::StatusCode::UNAVAILABLE, "down"));
    grpc::ClientContext failed;
    const auto status = stub_->GetPRBStatus(with_deadline(failed), {}, &statuses);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(status.error_message(), "Unexpected error in RPC handling");
}

TEST_F(PlatformHandlersTest, FileLocationIsAnsweredOrItsErrorMapped) {
    reporter_.answer_location("/storage/prb/prb-6.tar.gz");
    vantaapi::GetPRBFilePathRequest request;
    request.set_problemreport_id("prb-6");
    vantaapi::PRBFileLocation location;
    grpc::ClientContext context;
    ASSERT_TRUE(stub_->GetPRBFileLocation(with_deadline(context), request, &location).ok());
    EXPECT_EQ(location.bundle_path(), "/storage/prb/prb-6.tar.gz");
    EXPECT_THAT(reporter_.location_requests(), ElementsAre("prb-6"));

    reporter_.fail_location(grpc::Status(grpc::StatusCode::DEADLINE_EXCEEDED, "slow"));
    grpc::ClientContext late;
    const auto status = stub_->GetPRBFileLocation(with_deadline(late), request, &location);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(status.error_message(),
              "GetPRBFileLocation: [Problem Reporter Service::GetPRBFileLocation: "
              "DEADLINE_EXCEEDED - [slow]]");
}

}  // namespace
}  // namespace vanta::testing
