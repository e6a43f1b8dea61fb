#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "calling.grpc.pb.h"
#include "clients/calling/calling_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "runtime/tracing/tracing.h"

namespace vanta::calling::internal {

// The call-control client on one channel. Every call has a deadline of 7
// seconds.
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class Client final : public GrpcClient<Calling, CallingClient> {
  public:
    static constexpr std::chrono::milliseconds kTimeout{7000};

    Client(Executor& executor, const std::string& address, const std::string& name);
    ~Client() override;
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void SetObserver(const EventHandler& on_event, const Notification& on_ready) override;
    void SetObserver(const EventHandler& on_event, const Notification& on_ready,
                     const Notification& on_closed) override;
    void RemoveObserver() override;

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
    using StreamManager = GrpcClientBidiStreamManager<SubscriptionRequest, Event>;

    clients::UnaryCall call(const char* operation) const;
    // The call of a traced operation: its span travels in the call's metadata.
    clients::UnaryCall traced_call(const char* operation, const tracing::Span& span) const;

    // Queues the re-subscription after the stream of `subscription` ended.
    void reconnect_stream(std::uint64_t subscription, const EventHandler& on_event,
                          const Notification& on_ready);

    std::string name_;
    logging::Logger& logger_;
    std::shared_ptr<tracing::Tracer> tracer_;
    std::unique_ptr<StreamManager> stream_manager_;
    std::atomic<bool> observing_{false};
    Executor& executor_;
    // Identifies the current observation: a stream end or queued reconnection
    // of an earlier one is ignored.
    std::atomic<std::uint64_t> subscription_{0};
    // Expires with the client; queued reconnection work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vanta::calling::internal
