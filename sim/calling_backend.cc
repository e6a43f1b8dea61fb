#include "sim/calling_backend.h"

#include <ctime>

namespace vanta::sim {

namespace {

using vanta::calling::CallState;
using vanta::calling::Event;
using vanta::calling::MeetingInfo;

// "sip:robin@example.com" is Robin's address: "robin".
std::string remote_name_of(const std::string& destination) {
    std::string name = destination;
    const auto scheme = name.find(':');
    if (scheme != std::string::npos) {
        name = name.substr(scheme + 1);
    }
    return name.substr(0, name.find('@'));
}

vanta::calling::Participant participant(const std::string& uuid, const std::string& name,
                                        vanta::calling::ParticipantType type) {
    vanta::calling::Participant person;
    person.set_uuid(uuid);
    person.set_name(name);
    person.set_status(vanta::calling::endpointConnected);
    person.set_type(type);
    person.set_mute_status(vanta::calling::muteStatusUnmuted);
    return person;
}

}  // namespace

CallingBackend::CallingBackend() {
    behave("StartMeeting", &CallingBackend::start_meeting);
    behave("LeaveMeeting", &CallingBackend::leave_meeting);
    behave("LeaveActiveMeeting", &CallingBackend::leave_active_meeting);
    behave("LeaveAllMeetings", &CallingBackend::leave_all_meetings);
    behave("GetAllMeetings", &CallingBackend::all_meetings);
    behave("AnyMeetings", &CallingBackend::any_meetings);
}

grpc::Status CallingBackend::start_meeting(const vanta::calling::StartMeetingRequest& request,
                                           MeetingInfo& reply) {
    Meeting meeting;
    const uint32_t id = next_meeting_id_++;
    meeting.info.set_meeting_id(id);
    meeting.info.set_connection_id(static_cast<int32_t>(id));
    meeting.info.set_vireo_id("vireo-" + std::to_string(id));
    meeting.info.set_meeting_type(vanta::calling::kCall);
    meeting.info.set_remote_uri(request.destination());
    meeting.info.set_call_state(CallState::DIALING);
    meeting.info.set_backend(CallState::NIMBO);
    meeting.info.set_correlation_id("simulated-call-" + std::to_string(id));
    meeting.start_method = request.start_method();
    meeting.start_time = static_cast<int64_t>(std::time(nullptr));
    meetings_.push_back(meeting);
    publish_state_locked(meeting, CallState::INITIATED);
    later_.after(connect_delay_, [this, id] { connect(id); });
    reply = meeting.info;
    return grpc::Status::OK;
}

void CallingBackend::connect(uint32_t meeting_id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto meeting = std::find_if(meetings_.begin(), meetings_.end(), [&](const Meeting& m) {
        return m.info.meeting_id() == meeting_id;
    });
    if (meeting == meetings_.end() || meeting->info.call_state() != CallState::DIALING) {
        return;  // Left before it connected.
    }
    meeting->info.set_call_state(CallState::CONNECTED);
    meeting->connected_at = std::chrono::steady_clock::now();
    publish_state_locked(*meeting, CallState::INITIATED);

    const std::string remote = remote_name_of(meeting->info.remote_uri());
    const auto far_end = participant("remote-" + std::to_string(meeting_id), remote,
                                     vanta::calling::participantTypeUser);
    Event roster;
    auto& participants = *roster.mutable_participants();
    *participants.mutable_self() =
        participant("self", "Simulated Room", vanta::calling::participantTypeRoom);
    *participants.add_others() = far_end;
    participants.set_meeting_id(meeting_id);
    participants.set_total_connected_participants(2);
    streams_.publish(roster);

    Event conference;
    conference.mutable_conference_info()->set_display_name("Call with " + remote);
    conference.mutable_conference_info()->set_recording_state(vanta::calling::recordingStopped);
    conference.mutable_conference_info()->set_call_id(static_cast<int32_t>(meeting_id));
    streams_.publish(conference);

    Event speakers;
    *speakers.mutable_active_speakers()->add_speakers() = far_end;
    speakers.mutable_active_speakers()->set_meeting_id(meeting_id);
    streams_.publish(speakers);
}

grpc::Status CallingBackend::leave_meeting(const vanta::calling::LeaveMeetingRequest& request,
                                           vanta::calling::MeetingStatus& status) {
    for (size_t i = 0; i < meetings_.size(); ++i) {
        if (meetings_[i].info.meeting_id() == request.meeting_id()) {
            end_locked(i);
            status.set_success(true);
            break;
        }
    }
    return grpc::Status::OK;
}

grpc::Status CallingBackend::leave_active_meeting(const vanta::calling::LeaveActiveMeetingRequest&,
                                                  vanta::calling::MeetingStatus& status) {
    if (!meetings_.empty()) {
        end_locked(meetings_.size() - 1);
    }
    status.set_success(true);
    return grpc::Status::OK;
}

grpc::Status CallingBackend::leave_all_meetings(const vanta::calling::Empty&,
                                                vanta::calling::MeetingStatus& status) {
    status.set_success(true);
    while (!meetings_.empty()) {
        end_locked(0);
    }
    return grpc::Status::OK;
}

grpc::Status CallingBackend::all_meetings(const vanta::calling::Empty&,
                                          vanta::calling::MeetingList& list) {
    for (const Meeting& meeting : meetings_) {
        *list.add_meetings() = meeting.info;
    }
    return grpc::Status::OK;
}

grpc::Status CallingBackend::any_meetings(const vanta::calling::Empty&,
                                          vanta::calling::MeetingStatus& status) {
    status.set_success(!meetings_.empty());
    return grpc::Status::OK;
}

void CallingBackend::end_locked(size_t index) {
    Meeting meeting = meetings_[index];
    meetings_.erase(meetings_.begin() + static_cast<std::ptrdiff_t>(index));
    const bool answered = meeting.info.call_state() == CallState::CONNECTED;
    meeting.info.set_call_state(CallState::DISCONNECTED);
    const auto duration = answered ? std::chrono::duration_cast<std::chrono::seconds>(
                                         std::chrono::steady_clock::now() - meeting.connected_at)
                                   : std::chrono::seconds(0);
    publish_state_locked(meeting, answered ? CallState::ANSWERED : CallState::CANCELED,
                         duration.count());
}

void CallingBackend::publish_state_locked(const Meeting& meeting,
                                          CallState::Disposition disposition, int64_t duration) {
    Event event;
    CallState& state = *event.mutable_meeting_event();
    state.set_state(meeting.info.call_state());
    state.set_call_id(meeting.info.meeting_id());
    state.set_start_method(meeting.start_method);
    state.set_start_time(meeting.start_time);
    state.set_remote_name(remote_name_of(meeting.info.remote_uri()));
    state.set_remote_uri(meeting.info.remote_uri());
    state.set_call_type(vanta::calling::CALL);
    state.set_backend(meeting.info.backend());
    state.set_disposition(disposition);
    state.set_duration(duration);
    streams_.publish(event);
}

}  // namespace vanta::sim
