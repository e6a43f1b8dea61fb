// The meeting plugin's lists through the whole service, against the simulated
// call proxy on a temporary socket. Its events are in the table of
// plugin_events_test.cc; how the call-control client sets its stream up again
// after the call proxy restarts is the client's
// (clients/observable_clients_test.cc).

#include <string>

#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/bus_translation_table.h"

namespace vanta::testing {
namespace {

// How a failure of the call proxy answers is the no-backend table's
// (api/service_failure_rows.cc).
TEST(MeetingPlugin, MeetingsAndVideoStatisticsComeFromTheCallProxy) {
    ServiceOnBackends service;
    // Meetings in the call proxy's order; meeting type 6 is the API's
    // kMsMeeting but not one the list reports.
    service.backends.calling.answer("GetAllMeetings", from_text<calling::MeetingList>(R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO correlation_id: "c-1" }
        meetings { meeting_id: 2 meeting_type: 6 call_state: 18 backend: 3 }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    const ApiAnswer meetings = service.call("GetAllMeetings");
    ASSERT_TRUE(meetings.status.ok()) << meetings.status.error_message();
    EXPECT_EQ(meetings.response, normalized_answer("GetAllMeetings", R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO }
        meetings { meeting_id: 2 meeting_type: kUnknownMeetingType call_state: ERROR
                   backend: UNKNOWN_BACKEND }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    // A reserved meeting type leaves the operation as an exception.
    service.backends.calling.answer(
        "GetAllMeetings", from_text<calling::MeetingList>("meetings { meeting_type: 2147483647 }"));
    EXPECT_EQ(service.call("GetAllMeetings").status.error_code(), grpc::StatusCode::UNKNOWN);

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
    service.backends.calling.answer("GetVideoStatistics",
                                    from_text<calling::VideoStatistics>(received));
    const ApiAnswer statistics = service.call("GetVideoStatistics", "meeting_id: 7");
    ASSERT_TRUE(statistics.status.ok()) << statistics.status.error_message();
    EXPECT_EQ(statistics.response, normalized_answer("GetVideoStatistics",
                                                     received + " tx_statistics {} meeting_id: 7"));
    const auto asked =
        service.backends.calling.requests<calling::MeetingInfo>("GetVideoStatistics");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].meeting_id(), 7u);
}

}  // namespace
}  // namespace vanta::testing
