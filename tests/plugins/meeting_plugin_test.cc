// The meeting plugin through the whole service: the simulated call proxy and
// the service on sockets of a temporary directory, events read back from a
// real Subscribe stream. How the call-control client sets its stream up again
// after the call proxy restarts is the client's
// (clients/observable_clients_test.cc).

#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAreArray;
using vantaapi::VantaEvent;

// One call-proxy event and what subscribers get: `published` (text of a
// VantaEvent), or nothing and the client's log line `refused` with the
// conversion's text when the event carries a reserved enumeration value.
struct EventRow {
    EventRow(std::string backend_event, std::string published_event, std::string refusal = {})
        : backend(std::move(backend_event)),
          published(std::move(published_event)),
          refused(std::move(refusal)) {}

    std::string backend;
    std::string published;
    std::string refused;
};

const std::vector<EventRow>& event_rows() {
    static const std::vector<EventRow> rows = {
        // Call state: the unsigned call id lands in a signed one.
        {R"(meeting_event { state: CONNECTED call_id: 4000000000 start_method: kOutgoingCall
             start_time: 1700000000123 remote_name: "Room 4" remote_uri: "sip:r4@example.com"
             call_type: SIP_BRIDGE backend: NIMBO disposition: ANSWERED duration: 60 })",
         R"(new_call_state { state: CONNECTED call_id: -294967296 start_method: kOutgoingCall
             start_time: 1700000000123 remote_name: "Room 4" remote_uri: "sip:r4@example.com"
             call_type: SIP_BRIDGE backend: NIMBO })"},
        {"meeting_event { state: IVR_ENTER_CONFERENCE_ID start_method: kServer "
         "call_type: MS_MEETING backend: KRELL }",
         "new_call_state { state: IVR_ENTER_CONFERENCE_ID start_method: kUnknown "
         "call_type: MS_MEETING backend: KRELL }"},
        {"meeting_event { state: -1 start_method: 12 call_type: LOCAL_SHARE backend: 3 }",
         "new_call_state { state: ERROR start_method: kUnknown call_type: UNKNOWN "
         "backend: UNKNOWN_BACKEND }"},
        {"meeting_event { state: 2147483647 }", "", "Unexpected CallState code"},
        {"meeting_event { start_method: -2147483648 }", "", "Unexpected method"},
        {"meeting_event { call_type: 2147483647 }", "", "Unexpected call type"},
        {"meeting_event { backend: -2147483648 }", "", "Unexpected calling backend"},

        {"call_service_changed {}", "call_service_changed_event { what: LINES_CHANGED }"},
        {"call_security { call_id: -5 mode: NOT_AUTHENTICATED }",
         "new_call_security { call_id: -5 mode: NOT_AUTHENTICATED }"},
        {"call_security { call_id: 1 mode: 9 }", "new_call_security { call_id: 1 mode: 9 }"},
        {"dial_string_changed {}", "last_dial_string_changed {}"},

        {R"(conference_info { display_name: "Weekly" recording_state: recordingPaused
             call_id: 12 })",
         R"(new_conference_info { display_name: "Weekly" recording_state: PAUSED call_id: 12 })"},
        {"conference_info { recording_state: 5 call_id: 2 }",
         "new_conference_info { recording_state: UNKNOWN call_id: 2 }"},
        {"conference_info { recording_state: -2147483648 }", "", "unsupported RecordingState"},

        // Participants: numbers the API does not share become its unknown
        // members, the reserved ones too; `csis` stays behind.
        {R"(participants {
              self { uuid: "u-1" name: "Ann" status: endpointInLobby type: participantTypeRoom
                     associated_device_uuid: "d-1" csis: 3 csis: 4 mute_status: muteStatusMuted
                     moderator: true }
              others { uuid: "u-2" status: endpointDisconnecting type: participantTypeMediaNode
                       mute_status: muteStatusUnmuted }
              others { uuid: "u-3" status: 13 type: 7 mute_status: 5 }
              others { uuid: "u-4" status: -1 type: 2147483647 mute_status: -2147483648 }
              meeting_id: 9 total_connected_participants: 3 })",
         R"(new_participants {
              self { uuid: "u-1" name: "Ann" status: IN_LOBBY type: ROOM_DEVICE
                     associated_device_uuid: "d-1" mute_status: MUTED moderator: true }
              others { uuid: "u-2" status: DISCONNECTING type: MEDIA_NODE mute_status: UNMUTED }
              others { uuid: "u-3" status: STATUS_UNKNOWN type: TYPE_UNKNOWN
                       mute_status: UNKNOWN_MUTE_STATUS }
              others { uuid: "u-4" status: STATUS_UNKNOWN type: TYPE_UNKNOWN
                       mute_status: UNKNOWN_MUTE_STATUS }
              meeting_id: 9 total_connected_participants: 3 })"},
        {"participants { meeting_id: 2 }",
         "new_participants { self { status: CONNECTED } meeting_id: 2 }"},

        {R"(meeting_reminder { subject: "Review" organizer { uuid: "o-1" name: "Bo" }
             start_time: 1700000000 duration: 1800 type: meetingReminderTypeScheduled
             call_id: 21 })",
         R"(new_meeting_reminder_info { subject: "Review" organizer { uuid: "o-1" name: "Bo" }
             start_time: 1700000000 duration: 1800 type: SCHEDULED call_id: 21 })"},
        {"meeting_reminder { type: 3 call_id: 4 }",
         "new_meeting_reminder_info { organizer {} type: UNKNOWN call_id: 4 }"},
        {"meeting_reminder { type: 2147483647 }", "", "unsupported MeetingType"},

        {R"(active_speakers { speakers { uuid: "s-1" status: endpointObserver
                                          type: participantTypeUser }
                              speakers { uuid: "s-2" type: 9 } meeting_id: 5 })",
         R"(new_active_speakers { speakers { uuid: "s-1" status: OBSERVER type: USER_DEVICE }
                                  speakers { uuid: "s-2" type: TYPE_UNKNOWN } meeting_id: 5 })"},
        {R"(sharing_participant { uuid: "p-7" meeting_id: 8 })",
         R"(new_sharing_participant { uuid: "p-7" meeting_id: 8 })"},
        {R"(video_csi_change { uuid: "a" uuid: "b" uuid: "c" meeting_id: -3 virtual_id: 11 })",
         R"(video_csi_change { uuid: "a" uuid: "b" uuid: "c" meeting_id: -3 virtual_id: 11 })"},

        // Media status: only availability and muting keep their number.
        {R"(media_status_event { uuid: "m-1" meeting_id: 6 virtual_id: 2 type: CONTENT_AUDIO
                                 media_status: MEDIA_MUTED })",
         R"(media_status_event { uuid: "m-1" meeting_id: 6 virtual_id: 2 type: CONTENT_AUDIO
                                 media_status: MEDIA_MUTED })"},
        {"media_status_event { meeting_id: 1 type: SCREENSHARE media_status: MEDIA_AVAILABLE }",
         "media_status_event { meeting_id: 1 type: SCREENSHARE media_status: MEDIA_AVAILABLE }"},
        {"media_status_event { meeting_id: 2 type: 5 media_status: MEDIA_UNAVAILABLE }",
         "media_status_event { meeting_id: 2 type: MEDIA_UNKNOWN "
         "media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { meeting_id: 3 media_status: 3 }",
         "media_status_event { meeting_id: 3 media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { meeting_id: 4 media_status: -2 }",
         "media_status_event { meeting_id: 4 media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { type: -2147483648 }", "", "Unexpected media type in to_media_type"},

        {"media_ready_event { meeting_id: 3 type: VIDEO direction: SENDRECV }",
         "media_ready_event { meeting_id: 3 type: VIDEO direction: SENDRECV }"},
        {"media_ready_event { meeting_id: 4 type: 6 direction: 5 }",
         "media_ready_event { meeting_id: 4 type: MEDIA_UNKNOWN direction: DIRECTION_UNKNOWN }"},
        {"media_ready_event { type: 2147483647 }", "", "Unexpected media type in to_media_type"},
        {"media_ready_event { direction: 2147483647 }", "",
         "Unexpected media direction in to_media_direction"},

        {"floor_availability { call_id: 17 floor_available: true }",
         "new_floor_availability { call_id: 17 floor_available: true }"},

        // The client keeps stream_ready to itself; an event without a case
        // says nothing.
        {"stream_ready {}", ""},
        {"", ""},
    };
    return rows;
}

std::vector<std::string> texts(const std::vector<VantaEvent>& events) {
    std::vector<std::string> found;
    for (const VantaEvent& event : events) {
        found.push_back(event.ShortDebugString());
    }
    return found;
}

// The service and the call proxy on sockets of one temporary directory, and
// one open event stream that has seen its STREAM_STARTED.
class MeetingPluginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(service_.subscribed());
        ASSERT_TRUE(service_.backends.calling.wait_for_open_streams(1));
    }

    std::vector<std::string> lines_containing(const std::string& part) const {
        std::vector<std::string> found;
        for (const std::string& line : console_.lines()) {
            if (line.find(part) != std::string::npos) {
                found.push_back(line);
            }
        }
        return found;
    }

    ConsoleCapture console_;
    ServiceOnBackends service_;
};

TEST_F(MeetingPluginTest, EachCallProxyEventReachesSubscribersAsItsEvent) {
    std::vector<std::string> published;
    std::vector<std::string> refused;
    for (const EventRow& row : event_rows()) {
        service_.backends.calling.publish(from_text<calling::Event>(row.backend));
        if (!row.published.empty()) {
            published.push_back(from_text<VantaEvent>(row.published).ShortDebugString());
        }
        if (!row.refused.empty()) {
            refused.push_back("CallProxyClient ERROR: observed_event_handler: " + row.refused);
        }
    }

    // In order, and nothing for the refused and the silent rows: an event
    // published for one of them would shift every later one.
    EXPECT_THAT(texts(service_.published(published.size())), ElementsAreArray(published));
    EXPECT_THAT(lines_containing("observed_event_handler"), ElementsAreArray(refused));
}

// How a failure of the call proxy answers is the no-backend table's
// (api/service_failure_rows.cc).
TEST_F(MeetingPluginTest, MeetingsAndVideoStatisticsComeFromTheCallProxy) {
    // Meetings in the call proxy's order; meeting type 6 is the API's
    // kMsMeeting but not one the list reports.
    service_.backends.calling.answer("GetAllMeetings", from_text<calling::MeetingList>(R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO correlation_id: "c-1" }
        meetings { meeting_id: 2 meeting_type: 6 call_state: 18 backend: 3 }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    const ApiAnswer meetings = service_.call("GetAllMeetings");
    ASSERT_TRUE(meetings.status.ok()) << meetings.status.error_message();
    EXPECT_EQ(meetings.response, normalized_answer("GetAllMeetings", R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO }
        meetings { meeting_id: 2 meeting_type: kUnknownMeetingType call_state: ERROR
                   backend: UNKNOWN_BACKEND }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    // A reserved meeting type leaves the operation as an exception.
    service_.backends.calling.answer(
        "GetAllMeetings", from_text<calling::MeetingList>("meetings { meeting_type: 2147483647 }"));
    EXPECT_EQ(service_.call("GetAllMeetings").status.error_code(), grpc::StatusCode::UNKNOWN);

    // Statistics of the asked meeting; the stream the call proxy left out is
    // there all the same, with every field at its default.
    const std::string received = R"(
        rx_statistics { local_ip: "10.0.0.2" local_port: 5004 remote_ip: "10.0.0.9"
                        remote_port: 6004 transport_type: "UDP" codec: "H264" rtp_packets: 7
                        rtcp_packets: 8 bit_rate: 9 byte_count: 10 lost_packets: 11
                        loss_ratio: 12 oop_packets: 13 dup_packets: 14 processed_packets: 15
                        jitter: 16 rtt: 17 idr_req_sent: 18 idr_recvd: 19 idr_sent: 20
                        ice_connected: true media_status: 22
                        decoder_encoder_stats { vid: 1 width: 1280 height: 720
                                                max_packets_per_frame: 4 frame_rate: 29.5
                                                media_status: 1 }
                        decoder_encoder_stats { vid: 2 width: 640 } }
        rx_srtp_statistics { enabled: true rtp_auth_fail: 2 rtcp_auth_fail: 3 rtp_replay: 4
                             rtcp_replay: 5 })";
    service_.backends.calling.answer("GetVideoStatistics",
                                     from_text<calling::VideoStatistics>(received));
    const ApiAnswer statistics = service_.call("GetVideoStatistics", "meeting_id: 7");
    ASSERT_TRUE(statistics.status.ok()) << statistics.status.error_message();
    EXPECT_EQ(statistics.response, normalized_answer("GetVideoStatistics",
                                                     received + " tx_statistics {} meeting_id: 7"));
    const auto asked =
        service_.backends.calling.requests<calling::MeetingInfo>("GetVideoStatistics");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].meeting_id(), 7u);
}

}  // namespace
}  // namespace vanta::testing
