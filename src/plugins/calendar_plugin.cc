#include "plugins/calendar_plugin.h"

#include "rpc/client/grpc_exception_handler.h"
#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

vantaapi::CalendarEvent::MeetingBackend to_api_meeting_backend(
    calendar::CalendarEvent::MeetingBackend backend) {
    switch (backend) {
        case calendar::CalendarEvent::NIMBO_MEETING:
            return vantaapi::CalendarEvent::NIMBO_MEETING;
        case calendar::CalendarEvent::MICROSOFT_TEAMS_MEETING:
            return vantaapi::CalendarEvent::MICROSOFT_TEAMS_MEETING;
        default:
            return vantaapi::CalendarEvent::UNKNOWN_MEETING_BACKEND;
    }
}

void copy_calendar_event(const calendar::CalendarEvent& from, vantaapi::CalendarEvent& to) {
    to.set_id(from.id());
    to.set_uri(from.uri());
    to.set_subject(from.subject());
    to.set_start_time(from.start_time());
    to.set_duration(from.duration());
    to.set_should_alert(from.should_alert());
    to.set_vireo_id(from.vireo_id());
    to.set_is_recurring(from.is_recurring());
    to.set_is_joinable(from.is_joinable());
    to.set_is_dismissed(from.is_dismissed());
    if (from.has_organizer()) {
        to.mutable_organizer()->set_uuid(from.organizer().uuid());
        to.mutable_organizer()->set_name(from.organizer().name());
    }
    // Both sides number the reminder kinds alike; a number the API does not
    // know is reported as unknown (0).
    const int reminder = from.reminder_type();
    to.set_reminder_type(vantaapi::ReminderType_IsValid(reminder)
                             ? static_cast<vantaapi::ReminderType>(reminder)
                             : vantaapi::UnknownReminderType);
    const int support = from.reminder_support_type();
    to.set_reminder_support_type(vantaapi::ReminderSupportType_IsValid(support)
                                     ? static_cast<vantaapi::ReminderSupportType>(support)
                                     : vantaapi::ReminderSupportTypeNone);
    to.set_meeting_backend(to_api_meeting_backend(from.meeting_backend()));
}

void copy_calendar_list(const calendar::CalendarEventList& from, vantaapi::CalendarEventList& to) {
    to.set_owner_name(from.owner_name());
    to.set_is_room_bookable(from.is_room_bookable());
    for (const calendar::CalendarEvent& event : from.items()) {
        copy_calendar_event(event, *to.add_items());
    }
}

}  // namespace

CalendarPlugin::CalendarPlugin(Executor& executor,
                               GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                               PluginRegistrar&, const Endpoint& calendar)
    : publisher_(publisher),
      logger_(logging::getLogger("VantaApi")),
      client_(create_calendar_client(executor, calendar)) {
    client_->Subscribe(
        [this](const calendar::CalendarUpdate& update) { handle_calendar_update(update); });
}

void CalendarPlugin::handle_calendar_update(const calendar::CalendarUpdate& update) {
    if (update.status() != calendar::SUCCESS) {
        logger_.warning("received calendar update error: {}", static_cast<int>(update.status()));
        return;
    }
    logger_.info("received calendar update: items={}", update.list().items_size());
    update_calendar_state(vantaapi::CalendarState::CALENDAR_EVENT, update.list());
}

void CalendarPlugin::update_calendar_state(vantaapi::CalendarState::code state,
                                           const calendar::CalendarEventList& list) {
    logger_.info("sending out vantaapi event: CalendarState");
    vantaapi::VantaEvent event;
    vantaapi::CalendarState& calendar_state = *event.mutable_new_calendar_state();
    calendar_state.set_state(state);
    copy_calendar_list(list, *calendar_state.mutable_events());
    publisher_.publish(event);
}

// The backend is asked with every field at its default: the API's interval
// is not forwarded.
grpc::Status CalendarPlugin::get_calendar_events(grpc::ServerContext*,
                                                 const vantaapi::CalendarEventsRequest*,
                                                 vantaapi::CalendarEventList* response) {
    const std::optional<calendar::CalendarEventList> list =
        client_->GetCalendarEvents(calendar::CalendarEventsRequest());
    if (!list) {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE,
                            "GetCalendarEvents calendar client FAILED");
    }
    copy_calendar_list(*list, *response);
    return grpc::Status::OK;
}

grpc::Status CalendarPlugin::dismiss_calendar_event(grpc::ServerContext*,
                                                    const vantaapi::CalendarEventRequest* request,
                                                    google::protobuf::Empty*) {
    return grpc_exception_handler("dismiss_calendar_event",
                                  [&] { client_->DismissCalendarEvent(request->id()); });
}

grpc::Status CalendarPlugin::dismiss_calendar_events(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     google::protobuf::Empty*) {
    return grpc_exception_handler("dismiss_calendar_events",
                                  [&] { client_->DismissCalendarEvents(); });
}

}  // namespace vanta
