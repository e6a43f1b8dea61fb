#include "failure_rows.h"

namespace vanta::testing {

// With the call proxy down its older operations answer UNAVAILABLE with their
// own text, the guarded ones the mapped error, and ListCallingLines leaves the
// handler as an exception.
std::vector<FailureRow> calling_failure_rows() {
    return {
        VANTA_FAILURE_ROW(StartMeeting, UNAVAILABLE, "StartMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(JoinMeeting, UNAVAILABLE, "JoinMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(HoldMeeting, UNAVAILABLE, "HoldMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(ResumeMeeting, UNAVAILABLE, "ResumeMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(DeclineMeeting, UNAVAILABLE, "DeclineMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(LeaveMeeting, UNAVAILABLE, "LeaveMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(LeaveActiveMeeting, UNAVAILABLE, "LeaveActiveMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(LeaveAllMeetings, UNAVAILABLE, "LeaveAllMeetings callproxy FAILED"),
        VANTA_FAILURE_ROW(StartTransferMeeting, UNAVAILABLE,
                          "StartTransferMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(CompleteTransferMeeting, UNAVAILABLE,
                          "CompleteTransferMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(DirectTransferMeeting, UNAVAILABLE,
                          "DirectTransferMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(CancelTransferMeeting, UNAVAILABLE,
                          "CancelTransferMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(StartConference, UNAVAILABLE, "StartConference callproxy FAILED"),
        VANTA_FAILURE_ROW(CompleteConference, UNAVAILABLE, "CompleteConference callproxy FAILED"),
        VANTA_FAILURE_ROW(CancelConference, UNAVAILABLE, "CancelConference callproxy FAILED"),
        VANTA_FAILURE_ROW(ParkMeeting, UNAVAILABLE, "ParkMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(DirectedParkMeeting, UNAVAILABLE, "DirectedParkMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(RedialMeeting, UNAVAILABLE, "RedialMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(ForwardAllMeetings, UNAVAILABLE, "ForwardAllMeetings callproxy FAILED"),
        VANTA_FAILURE_ROW(ConferenceList, UNAVAILABLE, "ConferenceList callproxy FAILED"),
        VANTA_FAILURE_ROW(RemoveLastConferenceParticipant, UNAVAILABLE,
                          "RemoveLastConferenceParticipant callproxy FAILED"),
        VANTA_FAILURE_ROW(ImmediateDivertMeeting, UNAVAILABLE,
                          "ImmediateDivertMeeting callproxy FAILED"),
        VANTA_FAILURE_ROW(JoinAcrossLines, UNAVAILABLE, "JoinAcrossLines callproxy FAILED"),
        VANTA_FAILURE_ROW(Callback, UNAVAILABLE, "Callback callproxy FAILED"),
        VANTA_FAILURE_ROW(ConferenceBarge, UNAVAILABLE, "ConferenceBarge callproxy FAILED"),
        VANTA_FAILURE_ROW(ProvideLobbyAuthentication, UNAVAILABLE,
                          "ProvideLobbyAuthentication callproxy FAILED"),
        VANTA_FAILURE_ROW(SetShareEncodeParams, UNAVAILABLE,
                          "SetShareEncodeParams callproxy FAILED"),
        VANTA_FAILURE_ROW(GetLastDialString, UNAVAILABLE, "GetLastDialString: [*"),
        VANTA_FAILURE_ROW(StopWirelessLocalShare, UNAVAILABLE, "StopWirelessLocalShare: [*"),
        VANTA_FAILURE_ROW(StartRecording, UNAVAILABLE, "StartRecording callproxy FAILED"),
        VANTA_FAILURE_ROW(StopRecording, UNAVAILABLE, "StopRecording callproxy FAILED"),
        VANTA_FAILURE_ROW(PauseRecording, UNAVAILABLE, "PauseRecording callproxy FAILED"),
        VANTA_FAILURE_ROW(ResumeRecording, UNAVAILABLE, "ResumeRecording callproxy FAILED"),
        VANTA_FAILURE_ROW(GetAudioStatistics, UNAVAILABLE, "GetAudioStatistics callproxy FAILED"),
        VANTA_FAILURE_ROW(GetShareStatistics, UNAVAILABLE, "GetShareDirection callproxy FAILED"),
        VANTA_FAILURE_ROW(GetContentAudioStatistics, UNAVAILABLE,
                          "GetContentAudioStatistics callproxy FAILED"),
        VANTA_FAILURE_ROW(GetShareDirection, UNAVAILABLE, "GetShareDirection callproxy FAILED"),
        VANTA_FAILURE_ROW(ListCallingLines, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(SendDTMF, UNAVAILABLE, "SendDTMF FAILED"),
    };
}

}  // namespace vanta::testing
