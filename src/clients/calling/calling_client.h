#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "calling.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"
#include "runtime/tracing/tracing.h"

namespace vanta::calling {

// The daemon's client of the call-control backend: calls and meetings,
// transfers, conferences, statistics, share and recordings, and the backend's
// event stream.
//
// Most operations answer an empty optional when the backend could not serve
// the call (after logging "<Op> request failed, grpc error: ..., code: ...")
// and throw std::runtime_error "<Op>: unrecoverable grpc error: <CODE>" for a
// refusal; the newer ones (video statistics, recordings, digits, last dial
// string, wireless local share) throw the typed errors of handle_grpc_status().
// Meeting numbers are `int` here and unsigned on the wire.
//
// Observing (GrpcObservableClientBase): SetObserver(on_event, on_ready) hands
// the backend's stream_ready event to `on_ready` (nobody hears it when that is
// empty) and every other event to `on_event`. The stream is set up again after
// it ends as long as there is an event callback.
class CallingClient : public virtual GrpcObservableClientBase<Event> {
  public:
    using Notification = std::function<void()>;

    ~CallingClient() override = default;

    // The new meeting's number. The call is traced: its span continues
    // `span_context` when given and travels with the call.
    virtual std::optional<int> StartMeeting(
        const std::string& destination, Method method, std::uint32_t line_id,
        const std::optional<tracing::SpanContext>& span_context) = 0;
    virtual std::optional<bool> JoinMeeting(int meeting_id, Method method, CallType call_type) = 0;
    virtual std::optional<bool> HoldMeeting(int meeting_id, Method method) = 0;
    virtual std::optional<bool> ResumeMeeting(int meeting_id, Method method) = 0;
    virtual std::optional<bool> StartTransferMeeting(int meeting_id, Method method) = 0;
    virtual std::optional<bool> CompleteTransferMeeting(int meeting_id, int target_meeting_id,
                                                        Method method) = 0;
    virtual std::optional<bool> DirectTransferMeeting(int meeting_id, int target_meeting_id,
                                                      Method method) = 0;
    virtual std::optional<bool> CancelTransferMeeting(int meeting_id, Method method) = 0;
    virtual std::optional<bool> StartConference(int meeting_id, Method method) = 0;
    virtual std::optional<bool> CompleteConference(int meeting_id, int target_meeting_id,
                                                   Method method) = 0;
    virtual std::optional<bool> CancelConference(int meeting_id, Method method) = 0;
    virtual std::optional<bool> ParkMeeting(int meeting_id) = 0;
    virtual std::optional<bool> DirectedParkMeeting(int meeting_id, int park_slot) = 0;
    virtual std::optional<bool> RedialMeeting(int meeting_id) = 0;
    virtual std::optional<bool> ForwardAllMeetings(int meeting_id) = 0;
    virtual std::optional<bool> ConferenceList(int meeting_id) = 0;
    virtual std::optional<bool> RemoveLastConferenceParticipant(int meeting_id) = 0;
    virtual std::optional<bool> ImmediateDivertMeeting(int meeting_id) = 0;
    virtual std::optional<bool> JoinAcrossLines(int meeting_id, int target_meeting_id) = 0;
    virtual std::optional<bool> Callback(int meeting_id) = 0;
    virtual std::optional<bool> ConferenceBarge(int meeting_id) = 0;
    virtual std::optional<bool> DeclineMeeting(int meeting_id, Method method,
                                               CallType call_type) = 0;
    virtual std::optional<bool> LeaveMeeting(int meeting_id, Method method) = 0;
    virtual std::optional<bool> LeaveActiveMeeting(Method method) = 0;
    virtual std::optional<bool> LeaveAllMeetings() = 0;
    virtual void StopWirelessLocalShare() = 0;
    virtual std::optional<bool> ProvideLobbyAuthentication(int meeting_id, bool is_host,
                                                           const std::string& pin) = 0;
    virtual std::optional<MeetingList> GetAllMeetings() = 0;
    virtual std::optional<bool> AnyMeetings() = 0;
    virtual std::optional<AudioStatistics> GetAudioStatistics(int meeting_id) = 0;
    virtual std::optional<ShareRxStatistics> GetShareRxStatistics(int meeting_id) = 0;
    virtual std::optional<AudioStatistics> GetContentAudioStatistics(int meeting_id) = 0;
    virtual std::optional<ShareTxStatistics> GetShareTxStatistics(int meeting_id) = 0;
    virtual VideoStatistics GetVideoStatistics(int meeting_id) = 0;
    virtual std::optional<ShareDirectionResponse> GetShareDirection(int meeting_id) = 0;
    virtual std::optional<CallingLines> ListCallingLines() = 0;
    virtual std::optional<bool> StartCallShare(int meeting_id) = 0;
    virtual std::optional<bool> StopCallShare(int meeting_id) = 0;
    // Traced like StartMeeting, always as a new trace.
    virtual std::optional<bool> SetShareEncodeParams(int meeting_id,
                                                     const ShareEncodeParams& params) = 0;
    virtual bool SendDigit(int meeting_id, KeyDigit digit) = 0;
    virtual std::string GetLastDialString() = 0;
    virtual bool StartRecording(int meeting_id) = 0;
    virtual bool StopRecording(int meeting_id) = 0;
    virtual bool PauseRecording(int meeting_id) = 0;
    virtual bool ResumeRecording(int meeting_id) = 0;
};

// A client of the call-control backend at `endpoint.address` (dialled as it
// is); its name (for logs and errors) is the endpoint's service name followed
// by "Client", and every call has the endpoint's deadline. Makes no call to the
// backend.
std::unique_ptr<CallingClient> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::calling

namespace vanta::callproxy {

// The call proxy's client, "CallProxyClient", at `endpoint` (the catalogue's
// callproxy row: the address the service registry holds for "CallProxy", else
// "unix:/tmp/callproxy").
std::unique_ptr<calling::CallingClient> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::callproxy
