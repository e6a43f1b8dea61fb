// The command gateway as the daemon runs it: the gateway on its socket calls
// the real VantaApi service on its socket, which calls simulated volume
// manager, system controller and calendar backends. Every case runs in a
// private /tmp.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api/api_harness.h"
#include "gateway/zapigateway_service.h"
#include "sim/backend_server.h"
#include "sim/calendar_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/volumemgr_backend.h"
#include "zapigateway.grpc.pb.h"

namespace vanta::testing {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

template <typename Message>
Message text(const std::string& text_format) {
    Message message;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text_format, &message))
        << text_format;
    return message;
}

class GatewayTest : public ::testing::Test {
  protected:
    GatewayTest() { gateway_->run(GrpcServer::AccessLevel::Unchanged); }

    grpc::Status call_command(const std::string& path, const std::string& payload,
                              std::string& answer) {
        zapigateway::ZapiMessage request;
        request.set_path(path);
        request.set_payload(payload);
        zapigateway::ZapiResponse response;
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(20));
        const grpc::Status status = stub_->Command(&context, request, &response);
        answer = response.payload();
        return status;
    }
    std::string command(const std::string& path, const std::string& payload) {
        std::string answer;
        const grpc::Status status = call_command(path, payload, answer);
        EXPECT_TRUE(status.ok()) << status.error_message();
        return answer;
    }
    std::string status(const std::string& path, const std::string& payload = "") {
        zapigateway::ZapiMessage request;
        request.set_path(path);
        request.set_payload(payload);
        zapigateway::ZapiResponse response;
        grpc::ClientContext context;
        EXPECT_TRUE(stub_->Status(&context, request, &response).ok());
        return response.payload();
    }
    json schemas(grpc::Status (zapigateway::ZapiGateway::Stub::*listing)(
        grpc::ClientContext*, const google::protobuf::Empty&, zapigateway::ZapiSchemas*)) {
        zapigateway::ZapiSchemas response;
        grpc::ClientContext context;
        EXPECT_TRUE(((*stub_).*listing)(&context, google::protobuf::Empty(), &response).ok());
        return json::parse(response.schemas());
    }

    sim::VolumeMgrBackend volume_;
    sim::SystemControllerBackend system_;
    sim::CalendarBackend calendar_;
    sim::BackendServer volume_server_{"unix:/tmp/volumemgr_service", {&volume_}};
    sim::BackendServer system_server_{"unix:/tmp/systemcontroller_service", {&system_}};
    sim::BackendServer calendar_server_{"unix:/tmp/calendar_service", {&calendar_}};
    ApiHarness api_;
    WaitingExecutor gateway_executor_;
    std::unique_ptr<GrpcServer> gateway_ =
        zapigateway::create_service(gateway_executor_, "unix:/tmp/zapigateway");
    std::unique_ptr<zapigateway::ZapiGateway::Stub> stub_ = zapigateway::ZapiGateway::NewStub(
        grpc::CreateChannel("unix:/tmp/zapigateway", grpc::InsecureChannelCredentials()));
};

TEST_F(GatewayTest, ListsTheSchemasOfItsCommandsAndStatuses) {
    const json commands = schemas(&zapigateway::ZapiGateway::Stub::GetCommandSchemas);
    std::vector<std::string> paths;
    for (const auto& [path, schema] : commands.items()) {
        paths.push_back(path);
    }
    EXPECT_THAT(paths, ElementsAre("Audio.Microphones.Mute", "Audio.Microphones.ToggleMute",
                                   "Audio.Microphones.Unmute", "Bookings.List", "SystemUnit.Boot"));

    const std::string nullable_result = R"("result":{"schema":{"type":["object","null"]}})";
    const std::string no_arguments = R"({"arguments":null,"body":null,)" + nullable_result + "}";
    EXPECT_EQ(commands["Audio.Microphones.Mute"].dump(), no_arguments);
    EXPECT_EQ(commands["Audio.Microphones.ToggleMute"].dump(), no_arguments);
    EXPECT_EQ(commands["Audio.Microphones.Unmute"].dump(), no_arguments);
    EXPECT_EQ(
        commands["SystemUnit.Boot"].dump(),
        R"({"arguments":{)"
        R"("Action":{"required":false,"schema":{"enum":["Restart","Shutdown"],"type":"string"}},)"
        R"("Force":{"required":false,"schema":{"enum":["True","False"],"type":"string"}}},)"
        R"("body":null,)" +
            nullable_result + "}");

    const json& bookings = commands["Bookings.List"];
    EXPECT_EQ(
        bookings["arguments"].dump(),
        R"({"DayOffset":{"default":0,"maximum":365,"minimum":0,"required":false,"type":"integer"},)"
        R"("Days":{"default":365,"maximum":365,"minimum":1,"required":false,"type":"integer"},)"
        R"("Limit":{"default":65534,"maximum":65534,"minimum":1,"required":false,"type":"integer"},)"
        R"("Offset":{"default":0,"maximum":65534,"minimum":0,"required":false,"type":"integer"}})");
    const std::string text = R"({"required":true,"type":"string"})";
    EXPECT_EQ(bookings["body"], nullptr);
    EXPECT_EQ(bookings["result"].dump(),
              R"({"schema":{"properties":{"Booking":{"items":{"properties":{)"
              R"("Organizer":{"properties":{"Email":)" +
                  text + R"(,"FirstName":)" + text + R"(,"Id":)" + text + R"(,"LastName":)" + text +
                  R"(},"type":"object"},)"
                  R"("Time":{"properties":{"EndTime":)" +
                  text + R"(,"StartTime":)" + text +
                  R"(},"type":"object"}},"type":"object"},"type":"array"}},"type":"object"}})");

    EXPECT_EQ(schemas(&zapigateway::ZapiGateway::Stub::GetStatusSchemas).dump(),
              R"({"Audio.Microphones.Mute":{"arguments":null,"body":null,)"
              R"("result":{"schema":{"enum":["On","Off"],"type":"string"}}}})");
}

TEST_F(GatewayTest, BootAsksForARestartForcedOnlyByTheTextTrue) {
    struct Case {
        const char* payload;
        bool device_restarts;
        const char* backend_call;
        const char* answer;
    };
    const Case cases[] = {
        {"{}", true, "Reboot()",
         R"({"result":{"Action":"Restart","Description":"Restarting"},"statusCode":200})"},
        {R"({"arguments":{"Force":"True"}})", true, "Reboot(force: true)",
         R"({"result":{"Action":"Restart","Description":"Restarting"},"statusCode":200})"},
        {R"({"arguments":{"Force":true}})", true, "Reboot()",
         R"({"result":{"Action":"Restart","Description":"Restarting"},"statusCode":200})"},
        {R"({"arguments":{"Action":"Shutdown"}})", false, "Reboot()",
         R"({"result":{"Action":"None","Description":"Not booting, system is currently in use",)"
         R"("Reason":"LocalUsage"},"statusCode":200})"},
    };
    for (const Case& c : cases) {
        system_.reply("Reboot", text<systemcontroller::RequestStatus>(
                                    c.device_restarts ? "success: true" : "success: false"));
        EXPECT_EQ(command("SystemUnit.Boot", c.payload), c.answer) << c.payload;
        EXPECT_EQ(system_.calls_with_requests().back(), c.backend_call) << c.payload;
    }

    system_.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(command("SystemUnit.Boot", "{}"), R"({"result":null,"statusCode":500})");
}

TEST_F(GatewayTest, MuteCommandsSucceedWhenTheDeviceReportsTheAskedState) {
    struct Case {
        const char* path;
        bool reported_mute;
        const char* backend_call;
        int status_code;
    };
    const Case cases[] = {
        {"Audio.Microphones.Mute", true, "SetAudioMute(mute_state: true method: kServer)", 200},
        {"Audio.Microphones.Mute", false, "SetAudioMute(mute_state: true method: kServer)", 500},
        {"Audio.Microphones.Unmute", false, "SetAudioMute(method: kServer)", 200},
        {"Audio.Microphones.Unmute", true, "SetAudioMute(method: kServer)", 500},
        {"Audio.Microphones.ToggleMute", true, "ToggleAudioMute()", 200},
        {"Audio.Microphones.ToggleMute", false, "ToggleAudioMute()", 200},
    };
    for (const Case& c : cases) {
        const auto reply = text<volumemgr::MuteStatus>(c.reported_mute ? "is_mute: true" : "");
        volume_.reply("SetAudioMute", reply);
        volume_.reply("ToggleAudioMute", reply);
        const json expected = {{"result", nullptr}, {"statusCode", c.status_code}};
        EXPECT_EQ(command(c.path, "{}"), expected.dump()) << c.path << " " << c.reported_mute;
        EXPECT_EQ(volume_.calls_with_requests().back(), c.backend_call) << c.path;
    }

    volume_.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(command("Audio.Microphones.ToggleMute", "{}"), R"({"result":null,"statusCode":500})");
}

TEST_F(GatewayTest, MuteStatusIsOnOffOrNullWithoutAnAnswer) {
    volume_.reply("IsAudioMute", text<volumemgr::MuteStatus>("is_mute: true"));
    EXPECT_EQ(status("Audio.Microphones.Mute"), R"({"value":"On"})");
    volume_.reply("IsAudioMute", text<volumemgr::MuteStatus>(""));
    // The payload of a status request is never read.
    EXPECT_EQ(status("Audio.Microphones.Mute", "not json"), R"({"value":"Off"})");
    volume_.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status("Audio.Microphones.Mute"), "null");
}

TEST_F(GatewayTest, BookingsListTheCalendarsEventsWithUtcTimes) {
    constexpr char kUtcTime[] = "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+]0000";
    calendar_.reply(
        "GetCalendarEvents",
        text<calendar::CalendarEventList>("items { id: 'b-1' start_time: 1700000000 duration: 30 "
                                          "organizer { uuid: 'u-7' name: 'Ada' } }"));
    json answer = json::parse(command("Bookings.List", R"({"arguments":{"Days":1}})"));
    EXPECT_THAT(answer["result"]["LastUpdated"].get<std::string>(), MatchesRegex(kUtcTime));
    answer["result"].erase("LastUpdated");
    EXPECT_EQ(answer.dump(),
              R"({"result":{"Booking":[{"Organizer":{"Email":"","FirstName":"Ada","Id":"u-7",)"
              R"("LastName":""},"Time":{"EndTime":"2023-11-14T22:43:20+0000",)"
              R"("StartTime":"2023-11-14T22:13:20+0000"}}],"ResultInfo":{"TotalRows":1}},)"
              R"("statusCode":200})");

    calendar_.reply("GetCalendarEvents", calendar::CalendarEventList());
    answer = json::parse(command("Bookings.List", "{}"));
    EXPECT_THAT(answer["result"]["Booking"], IsEmpty());
    EXPECT_EQ(answer["result"]["ResultInfo"].dump(), R"({"TotalRows":0})");
    EXPECT_EQ(answer["statusCode"], 200);
}

TEST_F(GatewayTest, UnknownPathsAnswerTheirErrorShapes) {
    EXPECT_EQ(command("audio.microphones.mute", "{}"), R"({"result":null,"statusCode":500})");
    EXPECT_EQ(command("Audio.Microphones", "{}"), R"({"result":null,"statusCode":500})");
    EXPECT_EQ(status("Audio.Microphones.Unmute"), R"({"error":{"statusCode":500}})");
    EXPECT_THAT(volume_.calls(), IsEmpty());
}

TEST_F(GatewayTest, APayloadThatIsNotJsonFailsOnlyThatCall) {
    std::string answer;
    const grpc::Status failed = call_command("Audio.Microphones.Mute", "", answer);
    EXPECT_EQ(failed.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_THAT(volume_.calls(), IsEmpty());

    volume_.reply("SetAudioMute", text<volumemgr::MuteStatus>("is_mute: true"));
    EXPECT_EQ(command("Audio.Microphones.Mute", "{}"), R"({"result":null,"statusCode":200})");
}

}  // namespace
}  // namespace vanta::testing
