// The operations that the call proxy serves: calls and meetings, transfers,
// conferences, lobby, share, recordings, statistics, calling lines and digits.

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "api/copy_fields_by_name.h"
#include "api/enum_by_number.h"
#include "api/handler_kinds.h"
#include "api/vantaapi_impl.h"
#include "rpc/client/grpc_exceptions.h"

namespace vanta {
namespace {

calling::Method to_calling(vantaapi::Method method) {
    return api::by_number(method, calling::Method_IsValid, calling::kUnknown,
                          "vantaapi::Method to calling::Method");
}

calling::KeyDigit to_calling(vantaapi::KeyDigit digit) {
    return api::by_number(digit, calling::KeyDigit_IsValid, calling::KEY_DIGIT_INVALID,
                          "vantaapi::KeyDigit to calling::KeyDigit");
}

vantaapi::ShareDirection to_api(calling::ShareDirection direction) {
    return api::by_number(direction, vantaapi::ShareDirection_IsValid, vantaapi::UNKNOWN_DIRECTION,
                          "calling::ShareDirection to vantaapi::ShareDirection");
}

calling::ShareEncodeParams to_calling(const vantaapi::ShareEncodeParams& params) {
    calling::ShareEncodeParams converted;
    converted.set_width(params.width());
    converted.set_height(params.height());
    converted.set_frame_rate(params.frame_rate());
    converted.set_target_bitrate(params.target_bitrate());
    converted.set_profile_level_idc(params.profile_level_idc());
    return converted;
}

void copy_calling_line(const calling::CallingLine& line, vantaapi::CallingLine& api_line) {
    api_line.mutable_account_id()->set_id(line.account_id().account_id());
    api_line.set_line_id(line.line_id());
    api_line.set_display_name(line.display_name());
    api_line.set_directory_number(line.directory_number());
    api_line.mutable_registration_state()->set_state(
        api::by_number(line.registration_state(), vantaapi::RegistrationState::State_IsValid,
                       vantaapi::RegistrationState::UNKNOWN,
                       "calling::RegistrationState to vantaapi::RegistrationState::State"));
    api_line.set_external_directory_number(line.external_directory_number());
    api_line.set_sip_address(line.sip_address());
}

int meeting_number(std::uint32_t meeting_id) {
    return static_cast<int>(meeting_id);
}

// The newer call-proxy operations throw on failure; their handlers answer
// UNAVAILABLE with their own text all the same, as for the older ones.
template <typename Call>
auto answer_of(Call&& call) -> std::optional<decltype(call())> {
    try {
        return call();
    } catch (const GrpcException&) {
        return std::nullopt;
    }
}

// The API has no call type for joining and declining: the backend decides.
constexpr calling::CallType kAnyCallType = calling::UNKNOWN_CALLTYPE;

}  // namespace

grpc::Status VantaApiImpl::StartMeeting(grpc::ServerContext* context,
                                        const vantaapi::StartMeetingRequest* request,
                                        vantaapi::MeetingInfo* response) {
    // The handler's span continues into the call proxy.
    const auto span = start_handler_span(context, "StartMeeting");
    return api::answer_or_unavailable(
        callproxy_client_->StartMeeting(request->destination(), to_calling(request->start_method()),
                                        request->line_id(), span->context()),
        "StartMeeting callproxy FAILED",
        [&](int meeting_id) { response->set_meeting_id(static_cast<std::uint32_t>(meeting_id)); });
}

grpc::Status VantaApiImpl::JoinMeeting(grpc::ServerContext* context,
                                       const vantaapi::JoinMeetingRequest* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "JoinMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->JoinMeeting(meeting_number(request->meeting_id()),
                                           to_calling(request->start_method()), kAnyCallType),
            "JoinMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::HoldMeeting(grpc::ServerContext* context,
                                       const vantaapi::HoldMeetingRequest* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "HoldMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->HoldMeeting(meeting_number(request->meeting_id()),
                                           to_calling(request->hold_method())),
            "HoldMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ResumeMeeting(grpc::ServerContext* context,
                                         const vantaapi::ResumeMeetingRequest* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "ResumeMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ResumeMeeting(meeting_number(request->meeting_id()),
                                             to_calling(request->resume_method())),
            "ResumeMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::DeclineMeeting(grpc::ServerContext* context,
                                          const vantaapi::DeclineMeetingRequest* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "DeclineMeeting", [&] {
        logger_.info("DeclineMeeting called for meeting id {}", request->meeting_id());
        return api::answer_or_unavailable(
            callproxy_client_->DeclineMeeting(meeting_number(request->meeting_id()),
                                              to_calling(request->end_method()), kAnyCallType),
            "DeclineMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::LeaveMeeting(grpc::ServerContext* context,
                                        const vantaapi::LeaveMeetingRequest* request,
                                        vantaapi::RequestStatus* response) {
    return serve(context, "LeaveMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->LeaveMeeting(meeting_number(request->meeting_id()),
                                            to_calling(request->end_method())),
            "LeaveMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::LeaveActiveMeeting(grpc::ServerContext* context,
                                              const google::protobuf::Empty*,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "LeaveActiveMeeting", [&] {
        // The API request carries no method: the backend gets its default.
        return api::answer_or_unavailable(callproxy_client_->LeaveActiveMeeting(calling::kUnknown),
                                          "LeaveActiveMeeting callproxy FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::LeaveAllMeetings(grpc::ServerContext* context,
                                            const google::protobuf::Empty*,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "LeaveAllMeetings", [&] {
        return api::answer_or_unavailable(callproxy_client_->LeaveAllMeetings(),
                                          "LeaveAllMeetings callproxy FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::StartTransferMeeting(
    grpc::ServerContext* context, const vantaapi::StartTransferMeetingRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "StartTransferMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->StartTransferMeeting(meeting_number(request->meeting_id()),
                                                    to_calling(request->start_xfer_method())),
            "StartTransferMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::CompleteTransferMeeting(
    grpc::ServerContext* context, const vantaapi::CompleteTransferMeetingRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "CompleteTransferMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->CompleteTransferMeeting(meeting_number(request->meeting_id()),
                                                       meeting_number(request->target_meeting_id()),
                                                       to_calling(request->complete_xfer_method())),
            "CompleteTransferMeeting callproxy FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::DirectTransferMeeting(
    grpc::ServerContext* context, const vantaapi::DirectTransferMeetingRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "DirectTransferMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->DirectTransferMeeting(meeting_number(request->meeting_id()),
                                                     meeting_number(request->target_meeting_id()),
                                                     to_calling(request->direct_xfer_method())),
            "DirectTransferMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::CancelTransferMeeting(
    grpc::ServerContext* context, const vantaapi::CancelTransferMeetingRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "CancelTransferMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->CancelTransferMeeting(meeting_number(request->meeting_id()),
                                                     to_calling(request->cancel_xfer_method())),
            "CancelTransferMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::StartConference(grpc::ServerContext* context,
                                           const vantaapi::StartConferenceRequest* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "StartConference", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->StartConference(meeting_number(request->meeting_id()),
                                               to_calling(request->start_conf_method())),
            "StartConference callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::CompleteConference(grpc::ServerContext* context,
                                              const vantaapi::CompleteConferenceRequest* request,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "CompleteConference", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->CompleteConference(meeting_number(request->meeting_id()),
                                                  meeting_number(request->target_meeting_id()),
                                                  to_calling(request->complete_conf_method())),
            "CompleteConference callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::CancelConference(grpc::ServerContext* context,
                                            const vantaapi::CancelConferenceRequest* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "CancelConference", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->CancelConference(meeting_number(request->meeting_id()),
                                                to_calling(request->cancel_conf_method())),
            "CancelConference callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ParkMeeting(grpc::ServerContext* context,
                                       const vantaapi::ParkMeetingRequest* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "ParkMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ParkMeeting(meeting_number(request->meeting_id())),
            "ParkMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::DirectedParkMeeting(grpc::ServerContext* context,
                                               const vantaapi::DirectedParkMeetingRequest* request,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "DirectedParkMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->DirectedParkMeeting(meeting_number(request->meeting_id()),
                                                   request->park_slot()),
            "DirectedParkMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::RedialMeeting(grpc::ServerContext* context,
                                         const vantaapi::RedialMeetingRequest* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "RedialMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->RedialMeeting(meeting_number(request->meeting_id())),
            "RedialMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ForwardAllMeetings(grpc::ServerContext* context,
                                              const vantaapi::ForwardAllMeetingsRequest* request,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "ForwardAllMeetings", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ForwardAllMeetings(meeting_number(request->meeting_id())),
            "ForwardAllMeetings callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ConferenceList(grpc::ServerContext* context,
                                          const vantaapi::ConferenceListRequest* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "ConferenceList", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ConferenceList(meeting_number(request->meeting_id())),
            "ConferenceList callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::RemoveLastConferenceParticipant(
    grpc::ServerContext* context, const vantaapi::RemoveLastConferenceParticipantRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "RemoveLastConferenceParticipant", [&] {
        return api::answer_or_unavailable(callproxy_client_->RemoveLastConferenceParticipant(
                                              meeting_number(request->meeting_id())),
                                          "RemoveLastConferenceParticipant callproxy FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ImmediateDivertMeeting(
    grpc::ServerContext* context, const vantaapi::ImmediateDivertMeetingRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "ImmediateDivertMeeting", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ImmediateDivertMeeting(meeting_number(request->meeting_id())),
            "ImmediateDivertMeeting callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::JoinAcrossLines(grpc::ServerContext* context,
                                           const vantaapi::JoinAcrossLinesRequest* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "JoinAcrossLines", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->JoinAcrossLines(meeting_number(request->meeting_id()),
                                               meeting_number(request->target_meeting_id())),
            "JoinAcrossLines callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::Callback(grpc::ServerContext* context,
                                    const vantaapi::CallbackRequest* request,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "Callback", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->Callback(meeting_number(request->meeting_id())),
            "Callback callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ConferenceBarge(grpc::ServerContext* context,
                                           const vantaapi::ConferenceBargeRequest* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "ConferenceBarge", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ConferenceBarge(meeting_number(request->meeting_id())),
            "ConferenceBarge callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ProvideLobbyAuthentication(grpc::ServerContext* context,
                                                      const vantaapi::LobbyAuthInfo* request,
                                                      vantaapi::LobbyAuthStatus* response) {
    return serve(context, "ProvideLobbyAuthentication", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->ProvideLobbyAuthentication(meeting_number(request->meeting_id()),
                                                          request->is_host(), request->pin()),
            "ProvideLobbyAuthentication callproxy FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::SetShareEncodeParams(grpc::ServerContext* context,
                                                const vantaapi::ShareEncodeParamRequest* request,
                                                vantaapi::RequestStatus* response) {
    return serve(context, "SetShareEncodeParams", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->SetShareEncodeParams(meeting_number(request->meeting_id()),
                                                    to_calling(request->params())),
            "SetShareEncodeParams callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::GetLastDialString(grpc::ServerContext* context,
                                             const google::protobuf::Empty*,
                                             vantaapi::LastDialString* response) {
    return serve(context, "GetLastDialString", [&] {
        std::string dial_string;
        const grpc::Status status = api::guarded(
            "GetLastDialString", [&] { dial_string = callproxy_client_->GetLastDialString(); });
        response->set_dial_string(dial_string);
        return status;
    });
}

grpc::Status VantaApiImpl::StopWirelessLocalShare(grpc::ServerContext* context,
                                                  const google::protobuf::Empty*,
                                                  google::protobuf::Empty*) {
    return serve(context, "StopWirelessLocalShare", [&] {
        return api::guarded("StopWirelessLocalShare",
                            [&] { callproxy_client_->StopWirelessLocalShare(); });
    });
}

grpc::Status VantaApiImpl::StartRecording(grpc::ServerContext* context,
                                          const vantaapi::MeetingId* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "StartRecording", [&] {
        return api::answer_or_unavailable(
            answer_of(
                [&] { return callproxy_client_->StartRecording(meeting_number(request->id())); }),
            "StartRecording callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::StopRecording(grpc::ServerContext* context,
                                         const vantaapi::MeetingId* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "StopRecording", [&] {
        return api::answer_or_unavailable(
            answer_of(
                [&] { return callproxy_client_->StopRecording(meeting_number(request->id())); }),
            "StopRecording callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::PauseRecording(grpc::ServerContext* context,
                                          const vantaapi::MeetingId* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "PauseRecording", [&] {
        return api::answer_or_unavailable(
            answer_of(
                [&] { return callproxy_client_->PauseRecording(meeting_number(request->id())); }),
            "PauseRecording callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ResumeRecording(grpc::ServerContext* context,
                                           const vantaapi::MeetingId* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "ResumeRecording", [&] {
        return api::answer_or_unavailable(
            answer_of(
                [&] { return callproxy_client_->ResumeRecording(meeting_number(request->id())); }),
            "ResumeRecording callproxy FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::GetAudioStatistics(grpc::ServerContext* context,
                                              const vantaapi::MeetingInfo* request,
                                              vantaapi::AudioStatistics* response) {
    return serve(context, "GetAudioStatistics", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->GetAudioStatistics(meeting_number(request->meeting_id())),
            "GetAudioStatistics callproxy FAILED", [&](const calling::AudioStatistics& stats) {
                api::copy_fields_by_name(stats, *response);
                response->set_meeting_id(request->meeting_id());
            });
    });
}

grpc::Status VantaApiImpl::GetShareStatistics(grpc::ServerContext* context,
                                              const vantaapi::MeetingInfo* request,
                                              vantaapi::ShareStatistics* response) {
    return serve(context, "GetShareStatistics", [&] {
        const int meeting_id = meeting_number(request->meeting_id());
        const auto direction = callproxy_client_->GetShareDirection(meeting_id);
        if (!direction) {
            return grpc::Status(grpc::StatusCode::UNAVAILABLE,
                                "GetShareDirection callproxy FAILED");
        }
        logger_.info("Received Direction: {}", static_cast<int>(direction->direction()));
        switch (direction->direction()) {
            case calling::INCOMING_SHARE:
                return api::answer_or_unavailable(
                    callproxy_client_->GetShareRxStatistics(meeting_id),
                    "GetShareRxStatistics callproxy FAILED",
                    [&](const calling::ShareRxStatistics& stats) {
                        response->set_meeting_id(request->meeting_id());
                        api::copy_fields_by_name(stats, *response);
                        logger_.info("Updated Rx Stats..");
                    });
            case calling::OUTGOING_SHARE:
                // The backend reports no SRTP figures for sending.
                return api::answer_or_unavailable(
                    callproxy_client_->GetShareTxStatistics(meeting_id),
                    "GetShareTxStatistics callproxy FAILED",
                    [&](const calling::ShareTxStatistics& stats) {
                        response->set_meeting_id(request->meeting_id());
                        api::copy_fields_by_name(stats.stream_stats(),
                                                 *response->mutable_tx_statistics());
                        logger_.info("Updated Tx Stats..");
                    });
            default:
                return grpc::Status::OK;
        }
    });
}

grpc::Status VantaApiImpl::GetContentAudioStatistics(grpc::ServerContext* context,
                                                     const vantaapi::MeetingInfo* request,
                                                     vantaapi::AudioStatistics* response) {
    return serve(context, "GetContentAudioStatistics", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->GetContentAudioStatistics(meeting_number(request->meeting_id())),
            "GetContentAudioStatistics callproxy FAILED",
            [&](const calling::AudioStatistics& stats) {
                api::copy_fields_by_name(stats, *response);
                response->set_meeting_id(request->meeting_id());
            });
    });
}

grpc::Status VantaApiImpl::GetShareDirection(grpc::ServerContext* context,
                                             const vantaapi::MeetingId* request,
                                             vantaapi::ShareDirectionResponse* response) {
    return serve(context, "GetShareDirection", [&] {
        return api::answer_or_unavailable(
            callproxy_client_->GetShareDirection(meeting_number(request->id())),
            "GetShareDirection callproxy FAILED",
            [&](const calling::ShareDirectionResponse& reply) {
                response->set_direction(to_api(reply.direction()));
            });
    });
}

grpc::Status VantaApiImpl::ListCallingLines(grpc::ServerContext* context,
                                            const google::protobuf::Empty*,
                                            vantaapi::CallingLines* response) {
    return serve(context, "ListCallingLines", [&] {
        // No answer leaves the handler as an exception: gRPC answers UNKNOWN.
        const calling::CallingLines lines = callproxy_client_->ListCallingLines().value();
        for (const calling::CallingLine& line : lines.line()) {
            copy_calling_line(line, *response->add_line());
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SendDTMF(grpc::ServerContext* context,
                                    const vantaapi::DTMFDigit* request,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "SendDTMF", [&] {
        return api::answer_or_unavailable(
            answer_of([&] {
                return callproxy_client_->SendDigit(meeting_number(request->meeting_id()),
                                                    to_calling(request->dtmf_digit()));
            }),
            "SendDTMF FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

}  // namespace vanta
