#include "pass_through_rows.h"

namespace vanta::testing {

namespace {

// A command whose request is copied field for field and whose answer is the
// backend's success.
PassThroughRow command(const std::string& operation, const std::string& request, bool success) {
    const std::string answer = success ? "success: true" : "";
    return {operation, request, {{"calling." + operation, answer, request}}, answer};
}

// Statistics as the backend and the API both spell them.
const std::string kAudioStatistics =
    "rx_statistics { local_ip: '10.0.0.5' local_port: 5004 codec: 'opus' jitter: 5 ice_connected: "
    "true playback_mode: STEREO media_status_str: 'receiving' } tx_statistics { remote_port: 6004 "
    "rtt: 40 lost_packets: 3 media_status_str: 'sending' } rx_srtp_statistics { enabled: true "
    "rtcp_auth_fail: 2 rtp_replay: 9 } hal_stats { alsa_reads_last_min: 7 max_alsa_write_delay: 12 "
    "} hal_stats_call_totals { expected_samples: 48000 speaker_active_secs: 99 }";

}  // namespace

std::vector<PassThroughRow> calling_pass_through_rows() {
    const std::string megabyte_destination = "'sip:" + std::string(1 << 20, 'r') + "@example'";
    return {
        row("StartMeeting",
            "destination: 'sip:room@example' start_method: kCalendarEvent line_id: 4294967280",
            "calling.StartMeeting", "meeting_id: 99",
            "destination: 'sip:room@example' start_method: kCalendarEvent line_id: 4294967280",
            "meeting_id: 99"),
        // A method the backend does not know goes out as unknown; a long
        // destination goes out whole.
        row("StartMeeting", "destination: " + megabyte_destination + " start_method: 99",
            "calling.StartMeeting", "meeting_id: 98", "destination: " + megabyte_destination,
            "meeting_id: 98"),
        // Joining and declining leave the call type to the backend.
        command("JoinMeeting", "meeting_id: 11 start_method: kGlintApp", true),
        command("DeclineMeeting", "meeting_id: 21 end_method: kUiApp", false),
        command("HoldMeeting", "meeting_id: 12 hold_method: kAutomation", true),
        command("ResumeMeeting", "meeting_id: 13 resume_method: kCommandLine", false),
        command("LeaveMeeting", "meeting_id: 22 end_method: kRemoteDisconnected", true),
        command("LeaveActiveMeeting", "", true),
        row("LeaveAllMeetings", "", "calling.LeaveAllMeetings", "", "", ""),
        command("StartTransferMeeting", "meeting_id: 31 start_xfer_method: kIncomingCall", true),
        command("CompleteTransferMeeting",
                "meeting_id: 32 target_meeting_id: 33 complete_xfer_method: kCompanion", false),
        command("DirectTransferMeeting",
                "meeting_id: 34 target_meeting_id: 35 direct_xfer_method: kServer", true),
        command("CancelTransferMeeting", "meeting_id: 36 cancel_xfer_method: kOutgoingCall", true),
        command("StartConference", "meeting_id: 41 start_conf_method: kError", true),
        command("CompleteConference",
                "meeting_id: 42 target_meeting_id: 43 complete_conf_method: kUiApp", true),
        command("CancelConference", "meeting_id: 44 cancel_conf_method: kCalendarEvent", false),
        command("ParkMeeting", "meeting_id: 51", true),
        command("DirectedParkMeeting", "meeting_id: 52 park_slot: -2", true),
        command("RedialMeeting", "meeting_id: 4000000053", true),
        command("ForwardAllMeetings", "meeting_id: 54", false),
        command("ConferenceList", "meeting_id: 55", true),
        command("RemoveLastConferenceParticipant", "meeting_id: 56", true),
        command("ImmediateDivertMeeting", "meeting_id: 57", true),
        command("JoinAcrossLines", "meeting_id: 58 target_meeting_id: 59", true),
        command("Callback", "meeting_id: 60", true),
        command("ConferenceBarge", "meeting_id: 61", false),
        command("ProvideLobbyAuthentication", "meeting_id: 62 is_host: true pin: '4711'", true),
        row("SetShareEncodeParams",
            "meeting_id: 8 params { width: 1920 height: 1080 frame_rate: 29.97 target_bitrate: -5 "
            "profile_level_idc: 66 }",
            "calling.SetShareEncodeParams", "success: true",
            "meeting_id: 8 params { width: 1920 height: 1080 frame_rate: 29.97 target_bitrate: -5 "
            "profile_level_idc: 66 }",
            "success: true"),
        row("StartRecording", "id: 71", "calling.StartRecording", "success: true", "id: 71",
            "success: true"),
        row("StopRecording", "id: 72", "calling.StopRecording", "", "id: 72", ""),
        row("PauseRecording", "id: 73", "calling.PauseRecording", "success: true", "id: 73",
            "success: true"),
        row("ResumeRecording", "id: 74", "calling.ResumeRecording", "success: true", "id: 74",
            "success: true"),
        // A digit the backend does not know is sent as invalid.
        row("SendDTMF", "dtmf_digit: KEY_DIGIT_STAR meeting_id: 6", "calling.SendDigit",
            "success: true", "meeting_id: 6 digit: KEY_DIGIT_STAR", "success: true"),
        row("SendDTMF", "dtmf_digit: KEY_DIGIT_A meeting_id: 7", "calling.SendDigit",
            "success: true", "meeting_id: 7 digit: KEY_DIGIT_INVALID", "success: true"),
        row("GetLastDialString", "", "calling.GetLastDialString", "dial_string: '5551234'", "",
            "dial_string: '5551234'"),
        row("StopWirelessLocalShare", "", "calling.StopWirelessLocalShare", "", "", ""),
        row("GetAudioStatistics", "meeting_id: 31", "calling.GetAudioStatistics", kAudioStatistics,
            "meeting_id: 31", kAudioStatistics + " meeting_id: 31"),
        row("GetContentAudioStatistics", "meeting_id: 32", "calling.GetContentAudioStatistics",
            kAudioStatistics, "meeting_id: 32", kAudioStatistics + " meeting_id: 32"),
        row("GetShareDirection", "id: 9", "calling.GetShareDirection", "direction: OUTGOING_SHARE",
            "id: 9", "direction: OUTGOING_SHARE"),
        // The share statistics follow the direction of the share.
        {"GetShareStatistics",
         "meeting_id: 4",
         {{"calling.GetShareDirection", "direction: INCOMING_SHARE", "id: 4"},
          {"calling.GetShareRxStatistics",
           "rx_statistics { codec: 'H264' width: 1920 avg_bit_rate: 1.5 time_received: "
           "1234567890123 transport_type: 'UDP' fec_enabled: true } rx_srtp_statistics { enabled: "
           "true rtp_auth_fail: 4 }",
           "meeting_id: 4"}},
         "meeting_id: 4 rx_statistics { codec: 'H264' width: 1920 avg_bit_rate: 1.5 time_received: "
         "1234567890123 transport_type: 'UDP' fec_enabled: true } rx_srtp_statistics { enabled: "
         "true rtp_auth_fail: 4 }"},
        {"GetShareStatistics",
         "meeting_id: 5",
         {{"calling.GetShareDirection", "direction: OUTGOING_SHARE", "id: 5"},
          {"calling.GetShareTxStatistics",
           "stream_stats { transport_type: 'UDP' q_delay: 12 encoder_output_frames: 600 "
           "video_bit_rate: 2.25 ice_connected: true }",
           "meeting_id: 5"}},
         "meeting_id: 5 tx_statistics { transport_type: 'UDP' q_delay: 12 encoder_output_frames: "
         "600 video_bit_rate: 2.25 ice_connected: true }"},
        row("GetShareStatistics", "meeting_id: 6", "calling.GetShareDirection",
            "direction: NO_SHARE", "id: 6", ""),
        row("ListCallingLines", "", "calling.ListCallingLines",
            "line { account_id { account_id: 'acct-1' } line_id: 2 display_name: 'Reception' "
            "directory_number: '1000' registration_state: REGISTERED external_directory_number: "
            "'+1 555 1000' sip_address: 'sip:1000@example' } line { line_id: 3 registration_state: "
            "REGISTERING }",
            "",
            "line { account_id { id: 'acct-1' } line_id: 2 display_name: 'Reception' "
            "directory_number: '1000' registration_state { state: REGISTERED } "
            "external_directory_number: '+1 555 1000' sip_address: 'sip:1000@example' } line { "
            "account_id {} line_id: 3 registration_state { state: REGISTERING } }"),
    };
}

}  // namespace vanta::testing
