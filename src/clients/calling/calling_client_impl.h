#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "calling.grpc.pb.h"
#include "clients/calling/calling_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_observable_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "runtime/tracing/tracing.h"

namespace vanta::calling::internal {

// The call-control client on one channel. Every call has the deadline of the
// client's endpoint (7 seconds for the call proxy).
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class Client final
    : public GrpcObservableClient<Calling, CallingClient, SubscriptionRequest, Event, Event> {
  public:
    // Dials `endpoint.address` as it is; the client's name (for logs and
    // errors) is the endpoint's service name followed by "Client".
    Client(Executor& executor, const Endpoint& endpoint);
    ~Client() override;
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    std::optional<int> StartMeeting(
        const std::string& destination, Method method, std::uint32_t line_id,
        const std::optional<tracing::SpanContext>& span_context) override;
    std::optional<bool> JoinMeeting(int meeting_id, Method method, CallType call_type) override;
    std::optional<bool> HoldMeeting(int meeting_id, Method method) override;
    std::optional<bool> ResumeMeeting(int meeting_id, Method method) override;
    std::optional<bool> StartTransferMeeting(int meeting_id, Method method) override;
    std::optional<bool> CompleteTransferMeeting(int meeting_id, int target_meeting_id,
                                                Method method) override;
    std::optional<bool> DirectTransferMeeting(int meeting_id, int target_meeting_id,
                                              Method method) override;
    std::optional<bool> CancelTransferMeeting(int meeting_id, Method method) override;
    std::optional<bool> StartConference(int meeting_id, Method method) override;
    std::optional<bool> CompleteConference(int meeting_id, int target_meeting_id,
                                           Method method) override;
    std::optional<bool> CancelConference(int meeting_id, Method method) override;
    std::optional<bool> ParkMeeting(int meeting_id) override;
    std::optional<bool> DirectedParkMeeting(int meeting_id, int park_slot) override;
    std::optional<bool> RedialMeeting(int meeting_id) override;
    std::optional<bool> ForwardAllMeetings(int meeting_id) override;
    std::optional<bool> ConferenceList(int meeting_id) override;
    std::optional<bool> RemoveLastConferenceParticipant(int meeting_id) override;
    std::optional<bool> ImmediateDivertMeeting(int meeting_id) override;
    std::optional<bool> JoinAcrossLines(int meeting_id, int target_meeting_id) override;
    std::optional<bool> Callback(int meeting_id) override;
    std::optional<bool> ConferenceBarge(int meeting_id) override;
    std::optional<bool> DeclineMeeting(int meeting_id, Method method, CallType call_type) override;
    std::optional<bool> LeaveMeeting(int meeting_id, Method method) override;
    std::optional<bool> LeaveActiveMeeting(Method method) override;
    std::optional<bool> LeaveAllMeetings() override;
    void StopWirelessLocalShare() override;
    std::optional<bool> ProvideLobbyAuthentication(int meeting_id, bool is_host,
                                                   const std::string& pin) override;
    std::optional<MeetingList> GetAllMeetings() override;
    std::optional<bool> AnyMeetings() override;
    std::optional<AudioStatistics> GetAudioStatistics(int meeting_id) override;
    std::optional<ShareRxStatistics> GetShareRxStatistics(int meeting_id) override;
    std::optional<AudioStatistics> GetContentAudioStatistics(int meeting_id) override;
    std::optional<ShareTxStatistics> GetShareTxStatistics(int meeting_id) override;
    VideoStatistics GetVideoStatistics(int meeting_id) override;
    std::optional<ShareDirectionResponse> GetShareDirection(int meeting_id) override;
    std::optional<CallingLines> ListCallingLines() override;
    std::optional<bool> StartCallShare(int meeting_id) override;
    std::optional<bool> StopCallShare(int meeting_id) override;
    std::optional<bool> SetShareEncodeParams(int meeting_id,
                                             const ShareEncodeParams& params) override;
    bool SendDigit(int meeting_id, KeyDigit digit) override;
    std::string GetLastDialString() override;
    bool StartRecording(int meeting_id) override;
    bool StopRecording(int meeting_id) override;
    bool PauseRecording(int meeting_id) override;
    bool ResumeRecording(int meeting_id) override;

  private:
    // The backend's stream_ready to `on_ready` when there is one; every other
    // event to `on_event` when there is one.
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
    // Reconnects whenever there is an event callback, and says how it went.
    void reconnect_stream(Observation ended, const EventHandler& on_event,
                          const Notification& on_ready) override;

    clients::UnaryCall call(const char* operation) const;
    // The call of a traced operation: its span travels in the call's metadata.
    clients::UnaryCall traced_call(const char* operation, const tracing::Span& span) const;

    std::string name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    std::shared_ptr<tracing::Tracer> tracer_;
};

}  // namespace vanta::calling::internal
