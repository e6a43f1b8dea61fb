// The simulated backends that keep state: what a client changes is answered,
// read back, and announced on the bus or the backend's stream as the device
// does. The changes written as data are in stateful_backends.json; those that
// need the test's hands (time, random codes, what the backend sounds) are
// below.

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "simulated_device.h"
#include "support/data_files.h"
#include "support/named_calls.h"
#include "support/wait_until.h"

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using vanta::testing::method_named;
using vanta::testing::normalized;

// `expected` as `operation` answers it ("error <code> <message>" as it is).
std::string expected_answer(const std::string& operation, const std::string& expected) {
    return expected.rfind("error ", 0) == 0
               ? expected
               : normalized(*method_named("vanta." + operation).output_type(), expected);
}

// Each step is [operation, request] or [operation, request, answer], or
// ["bus", message] for a message the backends hear on the bus.
void run_steps(SimulatedDevice& device, const nlohmann::json& steps) {
    for (const auto& step : steps) {
        const std::string operation = step.at(0);
        const std::string request = step.at(1);
        if (operation == "bus") {
            device.hear(request);
            continue;
        }
        const std::string answer = device.call(operation, request);
        if (step.size() > 2) {
            EXPECT_EQ(answer, expected_answer(operation, step.at(2).get<std::string>()))
                << operation << "(" << request << ")";
        }
    }
}

// A row: the `steps` of the change; the lines `announced` on the bus; the
// `checks` that read the state back; the `events` of the stream opened with
// `subscribe` (and `subscribe_request`) before the change.
TEST(StatefulBackends, EachChangeIsAnsweredKeptAndAnnounced) {
    const std::string path = std::string(VANTA_SIM_TEST_DATA) + "/stateful_backends.json";
    const auto rows = vanta::testing::read_json(path);
    ASSERT_EQ(rows.size(), 25u);
    for (const auto& row : rows) {
        SCOPED_TRACE(path + ": " + row.at("name").get<std::string>());
        SimulatedDevice device;
        std::unique_ptr<vanta::testing::NamedStream> stream;
        const std::string subscribe = row.value("subscribe", "");
        if (!subscribe.empty()) {
            stream = device.subscribe(subscribe, row.value("subscribe_request", ""));
        }
        run_steps(device, row.at("steps"));
        const std::vector<std::string> announced = row.value("announced", nlohmann::json::array());
        EXPECT_THAT(device.announced(announced.size()), ElementsAreArray(announced));
        run_steps(device, row.value("checks", nlohmann::json::array()));
        if (stream) {
            std::vector<std::string> events;
            for (const auto& event : row.at("events")) {
                events.push_back(normalized(*method_named("vanta." + subscribe).output_type(),
                                            event.get<std::string>()));
            }
            EXPECT_THAT(stream->next(events.size()), ElementsAreArray(events));
        }
    }
}

TEST(StatefulBackends, UltrasoundOnAgainDrawsNewPairingCodes) {
    SimulatedDevice device;
    std::vector<std::string> codes;
    for (const char* step : {"Enable", "Disable", "Enable"}) {
        device.call("nimboultrasound.NimboUltraSoundSvc." + std::string(step));
        codes.push_back(device.call("nimboultrasound.NimboUltraSoundSvc.GetGuestToken") + " " +
                        device.call("nimboultrasound.NimboUltraSoundSvc.GetManualPairPin"));
        EXPECT_THAT(codes.back(), ::testing::MatchesRegex(
                                      "token: \"G-[0-9A-F]{4}-[0-9A-F]{4}\" pin: \"[0-9]{6}\""));
    }
    EXPECT_EQ(codes[1], codes[0]) << "switched off, it keeps its codes";
    EXPECT_NE(codes[2], codes[0]);
    EXPECT_THAT(device.announced(2), ElementsAre("GuestTokenEvent 1", "ManualPairEvent 1"));
}

// A scripted failure changes nothing.
TEST(StatefulBackends, AScriptedFailureLeavesTheStateAlone) {
    SimulatedDevice device;
    const std::string before = device.call("wifi.Wifi.GetConfig");
    device.wifi.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(device.call("wifi.Wifi.SetConfig", "ssid: 'Meeting-Rooms'"),
              "error 14 backend says no");
    device.wifi.fail_with(grpc::StatusCode::OK);
    EXPECT_EQ(device.call("wifi.Wifi.GetConfig"), before);
    EXPECT_THAT(device.announced(0), IsEmpty());
}

TEST(StatefulBackends, AToneSoundsFromPlayUntilStop) {
    SimulatedDevice device;
    const std::string resource = device.call("media.Media.AllocateToneInput");
    EXPECT_EQ(device.call("media.Media.PlayTone", "id { " + resource + " } tone: RINGBACK"),
              "success: true");
    const auto playing = device.media.playing();
    ASSERT_EQ(playing.size(), 1u);
    EXPECT_EQ(playing[0].id().ShortDebugString(), resource);
    EXPECT_EQ(playing[0].tone(), media::RINGBACK);

    EXPECT_EQ(device.call("media.Media.StopTone", resource), "success: true");
    EXPECT_THAT(device.media.playing(), IsEmpty());
}

TEST(CallControl, AStartedMeetingDialsConnectsWithItsRosterAndEndsWhenLeft) {
    SimulatedDevice device;
    device.calling.set_connect_delay(std::chrono::seconds(1));
    const auto events = device.subscribe("calling.Calling.Subscribe");
    const std::string dialing =
        "meeting_id: 1 connection_id: 1 vireo_id: \"vireo-1\" meeting_type: kCall "
        "remote_uri: \"sip:robin@example.com\" call_state: DIALING backend: NIMBO "
        "correlation_id: \"simulated-call-1\"";

    EXPECT_EQ(device.call("calling.Calling.StartMeeting",
                          "destination: 'sip:robin@example.com' start_method: kUiApp"),
              dialing);
    const std::string first = events->next();
    EXPECT_THAT(first, StartsWith("meeting_event { state: DIALING call_id: 1 "
                                  "start_method: kUiApp start_time: "));
    EXPECT_THAT(first, ::testing::EndsWith("remote_name: \"robin\" remote_uri: "
                                           "\"sip:robin@example.com\" call_type: CALL "
                                           "backend: NIMBO disposition: INITIATED }"));
    EXPECT_EQ(device.call("calling.Calling.GetAllMeetings"), "meetings { " + dialing + " }");

    const auto connected = events->next(4);
    EXPECT_THAT(connected[0], StartsWith("meeting_event { state: CONNECTED call_id: 1"));
    const std::string robin =
        "uuid: \"remote-1\" name: \"robin\" type: participantTypeUser "
        "mute_status: muteStatusUnmuted";
    EXPECT_EQ(connected[1],
              "participants { self { uuid: \"self\" name: \"Simulated Room\" "
              "type: participantTypeRoom mute_status: muteStatusUnmuted } others { " +
                  robin + " } meeting_id: 1 total_connected_participants: 2 }");
    EXPECT_EQ(connected[2],
              "conference_info { display_name: \"Call with robin\" "
              "recording_state: recordingStopped call_id: 1 }");
    EXPECT_EQ(connected[3], "active_speakers { speakers { " + robin + " } meeting_id: 1 }");
    EXPECT_THAT(device.call("calling.Calling.GetAllMeetings"), HasSubstr("call_state: CONNECTED"));
    EXPECT_EQ(device.call("calling.Calling.AnyMeetings"), "success: true");

    EXPECT_EQ(device.call("calling.Calling.LeaveMeeting", "meeting_id: 1"), "success: true");
    const std::string ended = events->next();
    EXPECT_THAT(ended, StartsWith("meeting_event { state: DISCONNECTED call_id: 1"));
    EXPECT_THAT(ended, HasSubstr("disposition: ANSWERED"));
    EXPECT_EQ(device.call("calling.Calling.GetAllMeetings"), "");
    EXPECT_EQ(device.call("calling.Calling.LeaveMeeting", "meeting_id: 1"), "");
}

TEST(CallControl, AMeetingLeftWhileDialingNeverConnectsAndAScriptedAnswerKeepsNoMeeting) {
    SimulatedDevice device;
    // Both calls below are answered well within the delay (under an emulator,
    // only with the time scale applied).
    device.calling.set_connect_delay(vanta::testing::scaled(std::chrono::milliseconds(100)));
    const auto events = device.subscribe("calling.Calling.Subscribe");

    device.call("calling.Calling.StartMeeting", "destination: '5551234'");
    EXPECT_EQ(device.call("calling.Calling.LeaveAllMeetings"), "success: true");
    // Long enough for the first meeting to have connected, had it not ended.
    std::this_thread::sleep_for(vanta::testing::scaled(std::chrono::milliseconds(300)));
    device.call("calling.Calling.StartMeeting", "destination: '5559876'");
    const auto seen = events->next(3);
    EXPECT_THAT(seen[0], StartsWith("meeting_event { state: DIALING call_id: 1"));
    EXPECT_THAT(seen[1], StartsWith("meeting_event { state: DISCONNECTED call_id: 1"));
    EXPECT_THAT(seen[1], HasSubstr("disposition: CANCELED"));
    EXPECT_THAT(seen[2], StartsWith("meeting_event { state: DIALING call_id: 2"));

    device.calling.answer("StartMeeting",
                          vanta::testing::from_text<calling::MeetingInfo>("meeting_id: 9"));
    device.call("calling.Calling.StartMeeting", "destination: '5550000'");
    // Only the second meeting, still dialing.
    EXPECT_THAT(device.call("calling.Calling.GetAllMeetings"),
                ::testing::MatchesRegex("meetings \\{ meeting_id: 2 [^{}]* \\}"));
}

}  // namespace
}  // namespace vanta::sim
