#include "plugins/meeting_plugin.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "rpc/client/grpc_exception_handler.h"
#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

// Every generated enumeration reserves the lowest and the highest 32-bit
// values; no member of either side has them.
void refuse_sentinel(int number, const char* message) {
    if (number == std::numeric_limits<std::int32_t>::min() ||
        number == std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error(message);
    }
}

// The API member numbered `number` when it lies in [first, last], else
// `fallback`; a sentinel raises `message`.
template <typename To>
To kept_in_range(int number, int first, int last, To fallback, const char* message) {
    refuse_sentinel(number, message);
    return number >= first && number <= last ? static_cast<To>(number) : fallback;
}

vantaapi::CallState::code to_callstate_code(int code) {
    return kept_in_range(code, vantaapi::CallState::ERROR,
                         vantaapi::CallState::IVR_ENTER_CONFERENCE_ID, vantaapi::CallState::ERROR,
                         "Unexpected CallState code");
}

vantaapi::CallState::Backend to_call_backend(int backend) {
    return kept_in_range(backend, vantaapi::CallState::UNKNOWN_BACKEND, vantaapi::CallState::NIMBO,
                         vantaapi::CallState::UNKNOWN_BACKEND, "Unexpected calling backend");
}

// The API reports calls the server started as of unknown origin.
vantaapi::Method to_method(calling::Method method) {
    if (method == calling::kServer) {
        return vantaapi::kUnknown;
    }
    return kept_in_range(method, vantaapi::kUnknown, vantaapi::kOutgoingCall, vantaapi::kUnknown,
                         "Unexpected method");
}

// The API has no local-share call type, and numbers MS_MEETING one lower.
vantaapi::CallState::CallType to_call_type(calling::CallType type) {
    if (type == calling::MS_MEETING) {
        return vantaapi::CallState::MS_MEETING;
    }
    return kept_in_range(type, vantaapi::CallState::UNKNOWN, vantaapi::CallState::SIP_BRIDGE,
                         vantaapi::CallState::UNKNOWN, "Unexpected call type");
}

vantaapi::MediaStatusEvent::MediaType to_media_type(calling::MediaType type) {
    return kept_in_range(
        type, vantaapi::MediaStatusEvent::MEDIA_UNKNOWN, vantaapi::MediaStatusEvent::CONTENT_AUDIO,
        vantaapi::MediaStatusEvent::MEDIA_UNKNOWN, "Unexpected media type in to_media_type");
}

vantaapi::MediaReadyEvent::Direction to_media_direction(calling::Direction direction) {
    return kept_in_range(direction, vantaapi::MediaReadyEvent::DIRECTION_UNKNOWN,
                         vantaapi::MediaReadyEvent::SENDRECV,
                         vantaapi::MediaReadyEvent::DIRECTION_UNKNOWN,
                         "Unexpected media direction in to_media_direction");
}

vantaapi::MeetingType to_meeting_type(calling::MeetingType type) {
    return kept_in_range(type, vantaapi::kUnknownMeetingType, vantaapi::kLocalShare,
                         vantaapi::kUnknownMeetingType,
                         "Unexpected meeting type in to_meeting_type");
}

// Status, type and mute status fall back to their unknown members for every
// number the API does not share, the reserved ones included.
vantaapi::Participant to_participant(const calling::Participant& from) {
    vantaapi::Participant to;
    to.set_uuid(from.uuid());
    to.set_name(from.name());
    to.set_associated_device_uuid(from.associated_device_uuid());
    to.set_moderator(from.moderator());
    const int status = from.status();
    to.set_status(status >= vantaapi::Participant::CONNECTED &&
                          status <= vantaapi::Participant::STATUS_UNKNOWN
                      ? static_cast<vantaapi::Participant::ParticipantStatus>(status)
                      : vantaapi::Participant::STATUS_UNKNOWN);
    const int type = from.type();
    to.set_type(type >= vantaapi::Participant::BRIDGE && type <= vantaapi::Participant::MEDIA_NODE
                    ? static_cast<vantaapi::Participant::ParticipantType>(type)
                    : vantaapi::Participant::TYPE_UNKNOWN);
    switch (from.mute_status()) {
        case calling::muteStatusUnmuted:
            to.set_mute_status(vantaapi::Participant::UNMUTED);
            break;
        case calling::muteStatusMuted:
            to.set_mute_status(vantaapi::Participant::MUTED);
            break;
        default:
            to.set_mute_status(vantaapi::Participant::UNKNOWN_MUTE_STATUS);
            break;
    }
    return to;
}

void copy_video_stream(const calling::VideoStreamStatistics& from,
                       vantaapi::VideoStreamStatistics& to) {
    to.set_local_ip(from.local_ip());
    to.set_local_port(from.local_port());
    to.set_remote_ip(from.remote_ip());
    to.set_remote_port(from.remote_port());
    to.set_transport_type(from.transport_type());
    to.set_codec(from.codec());
    to.set_rtp_packets(from.rtp_packets());
    to.set_rtcp_packets(from.rtcp_packets());
    to.set_bit_rate(from.bit_rate());
    to.set_byte_count(from.byte_count());
    to.set_lost_packets(from.lost_packets());
    to.set_loss_ratio(from.loss_ratio());
    to.set_oop_packets(from.oop_packets());
    to.set_dup_packets(from.dup_packets());
    to.set_processed_packets(from.processed_packets());
    to.set_jitter(from.jitter());
    to.set_rtt(from.rtt());
    to.set_idr_req_sent(from.idr_req_sent());
    to.set_idr_recvd(from.idr_recvd());
    to.set_idr_sent(from.idr_sent());
    to.set_ice_connected(from.ice_connected());
    to.set_media_status(from.media_status());
    for (const calling::VideoDecoderEncoderStats& stats : from.decoder_encoder_stats()) {
        vantaapi::VideoDecoderEncoderStats& copy = *to.add_decoder_encoder_stats();
        copy.set_vid(stats.vid());
        copy.set_width(stats.width());
        copy.set_height(stats.height());
        copy.set_max_packets_per_frame(stats.max_packets_per_frame());
        copy.set_frame_rate(stats.frame_rate());
        copy.set_media_status(stats.media_status());
    }
}

void copy_srtp(const calling::SrtpStreamStats& from, vantaapi::SrtpStreamStats& to) {
    to.set_enabled(from.enabled());
    to.set_rtp_auth_fail(from.rtp_auth_fail());
    to.set_rtcp_auth_fail(from.rtcp_auth_fail());
    to.set_rtp_replay(from.rtp_replay());
    to.set_rtcp_replay(from.rtcp_replay());
}

}  // namespace

MeetingPlugin::MeetingPlugin(Executor& executor,
                             GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar, const Endpoint& callproxy)
    : publisher_(publisher),
      logger_(logging::getLogger("VantaApi")),
      client_(callproxy::create_client(executor, callproxy)) {
    registrar.register_event_handler("MeetingListEvent",
                                     [this](const pubsub::PubSubMessage& message) {
                                         handle_meetinglist_subscription_event(message);
                                     });
    // No ready callback: the call proxy's stream_ready reaches nobody.
    client_->SetObserver([this](const calling::Event& event) { handle_calling_event(event); },
                         nullptr);
}

void MeetingPlugin::handle_meetinglist_subscription_event(const pubsub::PubSubMessage& message) {
    // The notice carries no meetings: subscribers fetch the list with
    // GetAllMeetings.
    if (message.msg().event() != 0) {
        return;
    }
    vantaapi::VantaEvent event;
    event.mutable_new_meeting_list();
    publisher_.publish(event);
}

void MeetingPlugin::handle_calling_event(const calling::Event& event) {
    switch (event.data_case()) {
        case calling::Event::kMeetingEvent:
            handle_call_proxy_meeting_event(event.meeting_event());
            break;
        case calling::Event::kCallServiceChanged:
            handle_call_service_changed_event();
            break;
        case calling::Event::kCallSecurity:
            handle_call_proxy_call_security_event(event.call_security());
            break;
        case calling::Event::kDialStringChanged:
            handle_last_dial_string_changed();
            break;
        case calling::Event::kConferenceInfo:
            handle_call_proxy_conference_info(event.conference_info());
            break;
        case calling::Event::kParticipants:
            handle_call_proxy_participants(event.participants());
            break;
        case calling::Event::kMeetingReminder:
            handle_call_proxy_meeting_reminder(event.meeting_reminder());
            break;
        case calling::Event::kActiveSpeakers:
            handle_call_proxy_active_speakers(event.active_speakers());
            break;
        case calling::Event::kSharingParticipant:
            handle_call_proxy_sharing_participant(event.sharing_participant());
            break;
        case calling::Event::kVideoCsiChange:
            handle_call_proxy_video_csi_change(event.video_csi_change());
            break;
        case calling::Event::kMediaStatusEvent:
            handle_call_proxy_media_status_event(event.media_status_event());
            break;
        case calling::Event::kMediaReadyEvent:
            handle_call_proxy_media_ready_event(event.media_ready_event());
            break;
        case calling::Event::kFloorAvailability:
            handle_call_proxy_floor_availability_event(event.floor_availability());
            break;
        default:
            // stream_ready stays with the client; an empty event says nothing.
            break;
    }
}

void MeetingPlugin::handle_call_proxy_meeting_event(const calling::CallState& state) {
    vantaapi::VantaEvent event;
    vantaapi::CallState& to = *event.mutable_new_call_state();
    to.set_state(to_callstate_code(state.state()));
    to.set_call_id(static_cast<std::int32_t>(state.call_id()));
    to.set_start_method(to_method(state.start_method()));
    to.set_start_time(state.start_time());
    to.set_remote_name(state.remote_name());
    to.set_remote_uri(state.remote_uri());
    to.set_call_type(to_call_type(state.call_type()));
    to.set_backend(to_call_backend(state.backend()));
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_service_changed_event() {
    vantaapi::VantaEvent event;
    event.mutable_call_service_changed_event()->set_what(
        vantaapi::CallServiceChangedEvent::LINES_CHANGED);
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_call_security_event(const calling::CallSecurity& security) {
    vantaapi::VantaEvent event;
    vantaapi::CallSecurity& to = *event.mutable_new_call_security();
    to.set_call_id(security.call_id());
    to.set_mode(static_cast<vantaapi::CallSecurity::Mode>(security.mode()));
    publisher_.publish(event);
}

// Subscribers read the new string with GetLastDialString.
void MeetingPlugin::handle_last_dial_string_changed() {
    vantaapi::VantaEvent event;
    event.mutable_last_dial_string_changed();
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_conference_info(const calling::ConferenceInfo& info) {
    vantaapi::VantaEvent event;
    vantaapi::ConferenceInfo& to = *event.mutable_new_conference_info();
    to.set_display_name(info.display_name());
    to.set_call_id(info.call_id());
    to.set_recording_state(kept_in_range(info.recording_state(), vantaapi::ConferenceInfo::UNKNOWN,
                                         vantaapi::ConferenceInfo::STOPPED,
                                         vantaapi::ConferenceInfo::UNKNOWN,
                                         "unsupported RecordingState"));
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_participants(const calling::Participants& participants) {
    vantaapi::VantaEvent event;
    vantaapi::Participants& to = *event.mutable_new_participants();
    to.set_meeting_id(participants.meeting_id());
    to.set_total_connected_participants(participants.total_connected_participants());
    // Present even when the call proxy sent none: read as all defaults.
    *to.mutable_self() = to_participant(participants.self());
    for (const calling::Participant& other : participants.others()) {
        *to.add_others() = to_participant(other);
    }
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_meeting_reminder(
    const calling::MeetingReminderInfo& reminder) {
    vantaapi::VantaEvent event;
    vantaapi::MeetingReminderInfo& to = *event.mutable_new_meeting_reminder_info();
    to.set_subject(reminder.subject());
    to.set_start_time(reminder.start_time());
    to.set_duration(reminder.duration());
    to.set_call_id(reminder.call_id());
    to.set_type(kept_in_range(reminder.type(), vantaapi::MeetingReminderInfo::UNKNOWN,
                              vantaapi::MeetingReminderInfo::SCHEDULED,
                              vantaapi::MeetingReminderInfo::UNKNOWN, "unsupported MeetingType"));
    // Present even when the call proxy sent none.
    vantaapi::Person& organizer = *to.mutable_organizer();
    organizer.set_uuid(reminder.organizer().uuid());
    organizer.set_name(reminder.organizer().name());
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_active_speakers(const calling::ActiveSpeakers& speakers) {
    vantaapi::VantaEvent event;
    vantaapi::ActiveSpeakers& to = *event.mutable_new_active_speakers();
    to.set_meeting_id(speakers.meeting_id());
    for (const calling::Participant& speaker : speakers.speakers()) {
        *to.add_speakers() = to_participant(speaker);
    }
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_sharing_participant(
    const calling::SharingParticipant& sharing) {
    vantaapi::VantaEvent event;
    vantaapi::SharingParticipant& to = *event.mutable_new_sharing_participant();
    to.set_uuid(sharing.uuid());
    to.set_meeting_id(sharing.meeting_id());
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_video_csi_change(const calling::VideoCSIChange& change) {
    vantaapi::VantaEvent event;
    vantaapi::VideoCSIChange& to = *event.mutable_video_csi_change();
    to.set_meeting_id(change.meeting_id());
    to.set_virtual_id(change.virtual_id());
    for (const std::string& uuid : change.uuid()) {
        to.add_uuid(uuid);
    }
    publisher_.publish(event);
}

// Only availability and muting are reported as such; every other status
// means the media cannot be had.
void MeetingPlugin::handle_call_proxy_media_status_event(const calling::MediaStatusEvent& status) {
    vantaapi::VantaEvent event;
    vantaapi::MediaStatusEvent& to = *event.mutable_media_status_event();
    to.set_uuid(status.uuid());
    to.set_meeting_id(status.meeting_id());
    to.set_virtual_id(status.virtual_id());
    to.set_type(to_media_type(status.type()));
    switch (status.media_status()) {
        case calling::MEDIA_AVAILABLE:
            to.set_media_status(vantaapi::MediaStatusEvent::MEDIA_AVAILABLE);
            break;
        case calling::MEDIA_MUTED:
            to.set_media_status(vantaapi::MediaStatusEvent::MEDIA_MUTED);
            break;
        default:
            to.set_media_status(vantaapi::MediaStatusEvent::MEDIA_UNAVAILABLE);
            break;
    }
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_media_ready_event(const calling::MediaReadyEvent& ready) {
    vantaapi::VantaEvent event;
    vantaapi::MediaReadyEvent& to = *event.mutable_media_ready_event();
    to.set_meeting_id(ready.meeting_id());
    // Both API messages number their media types alike.
    to.set_type(static_cast<vantaapi::MediaReadyEvent::MediaType>(to_media_type(ready.type())));
    to.set_direction(to_media_direction(ready.direction()));
    publisher_.publish(event);
}

void MeetingPlugin::handle_call_proxy_floor_availability_event(
    const calling::FloorAvailability& floor) {
    vantaapi::VantaEvent event;
    vantaapi::FloorAvailability& to = *event.mutable_new_floor_availability();
    to.set_call_id(floor.call_id());
    to.set_floor_available(floor.floor_available());
    publisher_.publish(event);
}

grpc::Status MeetingPlugin::GetAllMeetings(grpc::ServerContext*, const google::protobuf::Empty*,
                                           vantaapi::MeetingList* response) {
    const std::optional<calling::MeetingList> list = client_->GetAllMeetings();
    if (!list) {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, "GetAllMeetings callproxy FAILED");
    }
    for (const calling::MeetingInfo& meeting : list->meetings()) {
        vantaapi::MeetingInfo& to = *response->add_meetings();
        to.set_meeting_id(meeting.meeting_id());
        to.set_connection_id(meeting.connection_id());
        to.set_vireo_id(meeting.vireo_id());
        to.set_remote_uri(meeting.remote_uri());
        to.set_meeting_type(to_meeting_type(meeting.meeting_type()));
        to.set_call_state(to_callstate_code(meeting.call_state()));
        to.set_backend(to_call_backend(meeting.backend()));
    }
    return grpc::Status::OK;
}

grpc::Status MeetingPlugin::GetVideoStatistics(grpc::ServerContext*,
                                               const vantaapi::MeetingInfo* request,
                                               vantaapi::VideoStatistics* response) {
    calling::VideoStatistics statistics;
    const grpc::Status status = grpc_exception_handler("GetVideoStatistics", [&] {
        statistics = client_->GetVideoStatistics(static_cast<int>(request->meeting_id()));
    });
    if (!status.ok()) {
        return status;
    }
    response->set_meeting_id(request->meeting_id());
    // Absent sub-messages read as all defaults; the API's are always present.
    copy_video_stream(statistics.rx_statistics(), *response->mutable_rx_statistics());
    copy_video_stream(statistics.tx_statistics(), *response->mutable_tx_statistics());
    copy_srtp(statistics.rx_srtp_statistics(), *response->mutable_rx_srtp_statistics());
    return grpc::Status::OK;
}

}  // namespace vanta
