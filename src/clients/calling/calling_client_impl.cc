#include "clients/calling/calling_client_impl.h"

#include <stdexcept>
#include <utility>

#include "runtime/logging/loggers.h"
#include "runtime/tracing/grpc_tracing.h"

namespace vanta::calling {
namespace internal {
namespace {

using Stub = Calling::Stub;
using clients::call_or_empty;
using clients::call_or_throw;

// Meeting numbers travel unsigned.
std::uint32_t wire_id(int meeting_id) {
    return static_cast<std::uint32_t>(meeting_id);
}

// A status reply's `success`; nothing when the call gave no reply.
template <typename Reply>
std::optional<bool> success_of(const std::optional<Reply>& reply) {
    if (!reply) {
        return std::nullopt;
    }
    return reply->success();
}

MeetingInfo meeting_info(int meeting_id) {
    MeetingInfo info;
    info.set_meeting_id(wire_id(meeting_id));
    return info;
}

MeetingId meeting_id_of(int meeting_id) {
    MeetingId id;
    id.set_id(wire_id(meeting_id));
    return id;
}

std::string connectivity_state_name(GrpcClientBase::ConnectivityState state) {
    switch (state) {
        case GrpcClientBase::ConnectivityState::Idle:
            return "Idle";
        case GrpcClientBase::ConnectivityState::Connecting:
            return "Connecting";
        case GrpcClientBase::ConnectivityState::Ready:
            return "Ready";
        case GrpcClientBase::ConnectivityState::TransientFailure:
            return "Transient Failure";
        case GrpcClientBase::ConnectivityState::Shutdown:
            return "Shutdown";
    }
    throw std::invalid_argument("Unknown grpc connectivity state: " +
                                std::to_string(static_cast<int>(state)));
}

}  // namespace

Client::Client(Executor& executor, const Endpoint& endpoint)
    : GrpcObservableClient(endpoint.address, &executor,
                           logging::getLogger(endpoint.service_name + "Client"), "SetObserver",
                           unsubscribe_words<SubscriptionRequest>()),
      name_(endpoint.service_name + "Client"),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(name_)),
      tracer_(tracing::create_tracer()) {}

// The stream goes before the stub: its reader thread uses both.
Client::~Client() {
    close_stream();
}

clients::UnaryCall Client::call(const char* operation) const {
    return {name_, operation, timeout_, logger_};
}

clients::UnaryCall Client::traced_call(const char* operation, const tracing::Span& span) const {
    const tracing::SpanContext context = span.context();
    return {name_, operation, timeout_, logger_, [context](grpc::ClientContext& client_context) {
                grpctracing::store_span_context(client_context, context);
            }};
}

// Event subscription.

void Client::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                    const Event& event) {
    if (event.data_case() == Event::kStreamReady) {
        if (on_ready) {
            on_ready();
        }
    } else if (on_event) {
        on_event(event);
    }
}

// Runs on the reader thread of the stream that ended.
void Client::reconnect_stream(Observation ended, const EventHandler& on_event,
                              const Notification& on_ready) {
    if (!on_event) {
        logger_.info("Stream reconnect failed");
        return;
    }
    queue_reconnection(ended, on_event, on_ready, [this] {
        logger_.info("Stream reconnect succeeded with channel_state={}",
                     connectivity_state_name(channel_state()));
    });
}

// Meetings.

std::optional<int> Client::StartMeeting(const std::string& destination, Method method,
                                        std::uint32_t line_id,
                                        const std::optional<tracing::SpanContext>& span_context) {
    const auto span = tracer_->start_span(
        "CallingClient::StartMeeting",
        span_context ? tracing::StartSpanOptions(tracing::kChildOf, *span_context)
                     : tracing::StartSpanOptions());
    StartMeetingRequest request;
    request.set_destination(destination);
    request.set_start_method(method);
    request.set_line_id(line_id);
    const auto reply =
        call_or_empty(stub(), &Stub::StartMeeting, request, traced_call("StartMeeting", *span));
    if (!reply) {
        return std::nullopt;
    }
    return static_cast<int>(reply->meeting_id());
}

std::optional<bool> Client::JoinMeeting(int meeting_id, Method method, CallType call_type) {
    JoinMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_start_method(method);
    request.set_call_type(call_type);
    return success_of(call_or_empty(stub(), &Stub::JoinMeeting, request, call("JoinMeeting")));
}

std::optional<bool> Client::HoldMeeting(int meeting_id, Method method) {
    HoldMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_hold_method(method);
    return success_of(call_or_empty(stub(), &Stub::HoldMeeting, request, call("HoldMeeting")));
}

std::optional<bool> Client::ResumeMeeting(int meeting_id, Method method) {
    ResumeMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_resume_method(method);
    return success_of(call_or_empty(stub(), &Stub::ResumeMeeting, request, call("ResumeMeeting")));
}

std::optional<bool> Client::StartTransferMeeting(int meeting_id, Method method) {
    StartTransferMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_start_xfer_method(method);
    return success_of(
        call_or_empty(stub(), &Stub::StartTransferMeeting, request, call("StartTransferMeeting")));
}

std::optional<bool> Client::CompleteTransferMeeting(int meeting_id, int target_meeting_id,
                                                    Method method) {
    CompleteTransferMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_target_meeting_id(wire_id(target_meeting_id));
    request.set_complete_xfer_method(method);
    return success_of(call_or_empty(stub(), &Stub::CompleteTransferMeeting, request,
                                    call("CompleteTransferMeeting")));
}

std::optional<bool> Client::DirectTransferMeeting(int meeting_id, int target_meeting_id,
                                                  Method method) {
    DirectTransferMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_target_meeting_id(wire_id(target_meeting_id));
    request.set_direct_xfer_method(method);
    return success_of(call_or_empty(stub(), &Stub::DirectTransferMeeting, request,
                                    call("DirectTransferMeeting")));
}

std::optional<bool> Client::CancelTransferMeeting(int meeting_id, Method method) {
    CancelTransferMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_cancel_xfer_method(method);
    return success_of(call_or_empty(stub(), &Stub::CancelTransferMeeting, request,
                                    call("CancelTransferMeeting")));
}

std::optional<bool> Client::StartConference(int meeting_id, Method method) {
    StartConferenceRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_start_conf_method(method);
    return success_of(
        call_or_empty(stub(), &Stub::StartConference, request, call("StartConference")));
}

std::optional<bool> Client::CompleteConference(int meeting_id, int target_meeting_id,
                                               Method method) {
    CompleteConferenceRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_target_meeting_id(wire_id(target_meeting_id));
    request.set_complete_conf_method(method);
    return success_of(
        call_or_empty(stub(), &Stub::CompleteConference, request, call("CompleteConference")));
}

std::optional<bool> Client::CancelConference(int meeting_id, Method method) {
    CancelConferenceRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_cancel_conf_method(method);
    return success_of(
        call_or_empty(stub(), &Stub::CancelConference, request, call("CancelConference")));
}

std::optional<bool> Client::ParkMeeting(int meeting_id) {
    ParkMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::ParkMeeting, request, call("ParkMeeting")));
}

std::optional<bool> Client::DirectedParkMeeting(int meeting_id, int park_slot) {
    DirectedParkMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_park_slot(park_slot);
    return success_of(
        call_or_empty(stub(), &Stub::DirectedParkMeeting, request, call("DirectedParkMeeting")));
}

std::optional<bool> Client::RedialMeeting(int meeting_id) {
    RedialMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::RedialMeeting, request, call("RedialMeeting")));
}

std::optional<bool> Client::ForwardAllMeetings(int meeting_id) {
    ForwardAllMeetingsRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(
        call_or_empty(stub(), &Stub::ForwardAllMeetings, request, call("ForwardAllMeetings")));
}

std::optional<bool> Client::ConferenceList(int meeting_id) {
    ConferenceListRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(
        call_or_empty(stub(), &Stub::ConferenceList, request, call("ConferenceList")));
}

std::optional<bool> Client::RemoveLastConferenceParticipant(int meeting_id) {
    RemoveLastConferenceParticipantRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::RemoveLastConferenceParticipant, request,
                                    call("RemoveLastConferenceParticipant")));
}

std::optional<bool> Client::ImmediateDivertMeeting(int meeting_id) {
    ImmediateDivertMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::ImmediateDivertMeeting, request,
                                    call("ImmediateDivertMeeting")));
}

std::optional<bool> Client::JoinAcrossLines(int meeting_id, int target_meeting_id) {
    JoinAcrossLinesRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_target_meeting_id(wire_id(target_meeting_id));
    return success_of(
        call_or_empty(stub(), &Stub::JoinAcrossLines, request, call("JoinAcrossLines")));
}

std::optional<bool> Client::Callback(int meeting_id) {
    CallbackRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::Callback, request, call("Callback")));
}

std::optional<bool> Client::ConferenceBarge(int meeting_id) {
    ConferenceBargeRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(
        call_or_empty(stub(), &Stub::ConferenceBarge, request, call("ConferenceBarge")));
}

std::optional<bool> Client::DeclineMeeting(int meeting_id, Method method, CallType call_type) {
    DeclineMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_end_method(method);
    request.set_call_type(call_type);
    return success_of(
        call_or_empty(stub(), &Stub::DeclineMeeting, request, call("DeclineMeeting")));
}

std::optional<bool> Client::LeaveMeeting(int meeting_id, Method method) {
    LeaveMeetingRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_end_method(method);
    return success_of(call_or_empty(stub(), &Stub::LeaveMeeting, request, call("LeaveMeeting")));
}

std::optional<bool> Client::LeaveActiveMeeting(Method method) {
    LeaveActiveMeetingRequest request;
    request.set_end_method(method);
    return success_of(
        call_or_empty(stub(), &Stub::LeaveActiveMeeting, request, call("LeaveActiveMeeting")));
}

std::optional<bool> Client::LeaveAllMeetings() {
    return success_of(
        call_or_empty(stub(), &Stub::LeaveAllMeetings, Empty(), call("LeaveAllMeetings")));
}

void Client::StopWirelessLocalShare() {
    call_or_throw(stub(), &Stub::StopWirelessLocalShare, Empty(), call("StopWirelessLocalShare"));
}

std::optional<bool> Client::ProvideLobbyAuthentication(int meeting_id, bool is_host,
                                                       const std::string& pin) {
    LobbyAuthInfo request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_is_host(is_host);
    request.set_pin(pin);
    return success_of(
        call_or_empty(stub(), &Stub::ProvideLobbyAuthentication, request,
                      clients::with_personal_values(call("ProvideLobbyAuthentication"))));
}

std::optional<MeetingList> Client::GetAllMeetings() {
    return call_or_empty(stub(), &Stub::GetAllMeetings, Empty(), call("GetAllMeetings"));
}

std::optional<bool> Client::AnyMeetings() {
    return success_of(call_or_empty(stub(), &Stub::AnyMeetings, Empty(), call("AnyMeetings")));
}

// Statistics and share.

std::optional<AudioStatistics> Client::GetAudioStatistics(int meeting_id) {
    return call_or_empty(stub(), &Stub::GetAudioStatistics, meeting_info(meeting_id),
                         call("GetAudioStatistics"));
}

std::optional<ShareRxStatistics> Client::GetShareRxStatistics(int meeting_id) {
    return call_or_empty(stub(), &Stub::GetShareRxStatistics, meeting_info(meeting_id),
                         call("GetShareRxStatistics"));
}

std::optional<AudioStatistics> Client::GetContentAudioStatistics(int meeting_id) {
    return call_or_empty(stub(), &Stub::GetContentAudioStatistics, meeting_info(meeting_id),
                         call("GetContentAudioStatistics"));
}

std::optional<ShareTxStatistics> Client::GetShareTxStatistics(int meeting_id) {
    return call_or_empty(stub(), &Stub::GetShareTxStatistics, meeting_info(meeting_id),
                         call("GetShareTxStatistics"));
}

VideoStatistics Client::GetVideoStatistics(int meeting_id) {
    return call_or_throw(stub(), &Stub::GetVideoStatistics, meeting_info(meeting_id),
                         call("GetVideoStatistics"));
}

std::optional<ShareDirectionResponse> Client::GetShareDirection(int meeting_id) {
    return call_or_empty(stub(), &Stub::GetShareDirection, meeting_id_of(meeting_id),
                         call("GetShareDirection"));
}

std::optional<CallingLines> Client::ListCallingLines() {
    return call_or_empty(stub(), &Stub::ListCallingLines, Empty(), call("ListCallingLines"));
}

std::optional<bool> Client::StartCallShare(int meeting_id) {
    StartCallShareRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(
        call_or_empty(stub(), &Stub::StartCallShare, request, call("StartCallShare")));
}

std::optional<bool> Client::StopCallShare(int meeting_id) {
    StopCallShareRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    return success_of(call_or_empty(stub(), &Stub::StopCallShare, request, call("StopCallShare")));
}

std::optional<bool> Client::SetShareEncodeParams(int meeting_id, const ShareEncodeParams& params) {
    const auto span =
        tracer_->start_span("CallingClient::SetShareEncodeParams", tracing::StartSpanOptions());
    ShareEncodeParamRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    *request.mutable_params() = params;
    return success_of(call_or_empty(stub(), &Stub::SetShareEncodeParams, request,
                                    traced_call("SetShareEncodeParams", *span)));
}

bool Client::SendDigit(int meeting_id, KeyDigit digit) {
    SendDigitRequest request;
    request.set_meeting_id(wire_id(meeting_id));
    request.set_digit(digit);
    return call_or_throw(stub(), &Stub::SendDigit, request, call("SendDigit")).success();
}

std::string Client::GetLastDialString() {
    return call_or_throw(stub(), &Stub::GetLastDialString, Empty(), call("GetLastDialString"))
        .dial_string();
}

// Recordings.

bool Client::StartRecording(int meeting_id) {
    return call_or_throw(stub(), &Stub::StartRecording, meeting_id_of(meeting_id),
                         call("StartRecording"))
        .success();
}

bool Client::StopRecording(int meeting_id) {
    return call_or_throw(stub(), &Stub::StopRecording, meeting_id_of(meeting_id),
                         call("StopRecording"))
        .success();
}

bool Client::PauseRecording(int meeting_id) {
    return call_or_throw(stub(), &Stub::PauseRecording, meeting_id_of(meeting_id),
                         call("PauseRecording"))
        .success();
}

bool Client::ResumeRecording(int meeting_id) {
    return call_or_throw(stub(), &Stub::ResumeRecording, meeting_id_of(meeting_id),
                         call("ResumeRecording"))
        .success();
}

}  // namespace internal

std::unique_ptr<CallingClient> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<internal::Client>(executor, endpoint);
}

}  // namespace vanta::calling
