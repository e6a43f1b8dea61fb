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
                                          "organizer { uuid: 'u-7' name: 'Ada' } } "
                                          // Past what a 32-bit time_t holds.
                                          "items { id: 'b-2' start_time: 4107542399 duration: 1 "
                                          "organizer { uuid: 'u-8' name: 'Bo' } }"));
    json answer = json::parse(command("Bookings.List", R"({"arguments":{"Days":1}})"));
    EXPECT_THAT(answer["result"]["LastUpdated"].get<std::string>(), MatchesRegex(kUtcTime));
    answer["result"].erase("LastUpdated");
    EXPECT_EQ(answer.dump(),
              R"({"result":{"Booking":[{"Organizer":{"Email":"","FirstName":"Ada","Id":"u-7",)"
              R"("LastName":""},"Time":{"EndTime":"2023-11-14T22:43:20+0000",)"
              R"("StartTime":"2023-11-14T22:13:20+0000"}},)"
              R"({"Organizer":{"Email":"","FirstName":"Bo","Id":"u-8",)"
              R"("LastName":""},"Time":{"EndTime":"2100-03-01T00:00:59+0000",)"
              R"("StartTime":"2100-02-28T23:59:59+0000"}}],"ResultInfo":{"TotalRows":2}},)"
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

// Payloads no client should send: text that is not JSON fails that call with
// UNKNOWN before the device is asked; JSON of any depth, size or shape is
// read as far as the command reads it; a message above gRPC's 4 MB limit
// never reaches the gateway. The gateway keeps serving after each.
TEST_F(GatewayTest, HostilePayloadsFailOnlyTheirOwnCall) {
    const std::string deep_array = std::string(100000, '[') + std::string(100000, ']');
    std::string deep_object;
    for (int level = 0; level < 100000; ++level) {
        deep_object += R"({"arguments":)";
    }
    deep_object += R"("True")" + std::string(100000, '}');
    const std::string padding(3 * 1024 * 1024, 'x');
    const std::string restart = R"({"result":{"Action":"Restart","Description":"Restarting"},)"
                                R"("statusCode":200})";
    struct Case {
        std::string payload;
        grpc::StatusCode code;
        // With status OK: the answer and the restart asked of the device.
        std::string answer;
        std::string backend_call;
    };
    const Case cases[] = {
        // Not JSON.
        {"", grpc::StatusCode::UNKNOWN, "", ""},
        {"{", grpc::StatusCode::UNKNOWN, "", ""},
        {"{'arguments':{'Force':'True'}}", grpc::StatusCode::UNKNOWN, "", ""},
        {R"({"arguments":{"Force":"True"}} {})", grpc::StatusCode::UNKNOWN, "", ""},
        {R"({"arguments":{"Force":"\ud800"}})", grpc::StatusCode::UNKNOWN, "", ""},
        {"NaN", grpc::StatusCode::UNKNOWN, "", ""},
        {std::string(100000, '['), grpc::StatusCode::UNKNOWN, "", ""},
        // Deep or huge JSON.
        {deep_array, grpc::StatusCode::OK, restart, "Reboot()"},
        {deep_object, grpc::StatusCode::OK, restart, "Reboot()"},
        {R"({"arguments":{"Force":"True","Pad":")" + padding + R"("}})", grpc::StatusCode::OK,
         restart, "Reboot(force: true)"},
        {R"({"arguments":{"Force":"True","Pad":")" + padding + padding + R"("}})",
         grpc::StatusCode::RESOURCE_EXHAUSTED, "", ""},
        // Wrong types: no forced restart.
        {"\"True\"", grpc::StatusCode::OK, restart, "Reboot()"},
        {"null", grpc::StatusCode::OK, restart, "Reboot()"},
        {"[1,2]", grpc::StatusCode::OK, restart, "Reboot()"},
        {R"({"arguments":"Force"})", grpc::StatusCode::OK, restart, "Reboot()"},
        {R"({"arguments":{"Force":["True"]}})", grpc::StatusCode::OK, restart, "Reboot()"},
        {R"({"arguments":{"Force":{"True":"True"}}})", grpc::StatusCode::OK, restart, "Reboot()"},
        {R"({"arguments":{"Force":1e999}})", grpc::StatusCode::UNKNOWN, "", ""},
    };
    system_.reply("Reboot", text<systemcontroller::RequestStatus>("success: true"));
    for (const Case& c : cases) {
        const std::string shown = c.payload.substr(0, 60);
        const size_t calls_before = system_.calls().size();
        std::string answer;
        const grpc::Status status = call_command("SystemUnit.Boot", c.payload, answer);
        EXPECT_EQ(status.error_code(), c.code) << shown << ": " << status.error_message();
        if (c.code == grpc::StatusCode::OK) {
            EXPECT_EQ(answer, c.answer) << shown;
            EXPECT_EQ(system_.calls_with_requests().back(), c.backend_call) << shown;
        } else {
            EXPECT_EQ(system_.calls().size(), calls_before) << shown;
        }
        EXPECT_EQ(command("SystemUnit.Boot", "{}"), restart) << "after " << shown;
    }

    // The mute and booking commands never read their payload's shape.
    volume_.reply("SetAudioMute", text<volumemgr::MuteStatus>("is_mute: true"));
    EXPECT_EQ(command("Audio.Microphones.Mute", deep_array), R"({"result":null,"statusCode":200})");
    const json bookings = json::parse(
        command("Bookings.List",
                R"({"arguments":{"Days":"all","Limit":-1,"Offset":1e300,"DayOffset":[]}})"));
    EXPECT_EQ(bookings["statusCode"], 200);
}

}  // namespace
}  // namespace vanta::testing
