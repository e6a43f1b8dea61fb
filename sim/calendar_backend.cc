#include "sim/calendar_backend.h"

namespace vanta::sim {

namespace {

using vanta::calendar::CalendarEvent;

struct Booking {
    const char* subject;
    int starts_in_minutes;
    int minutes;
    const char* organizer;
};

// A working day in the room, relative to now.
const Booking kBookings[] = {
    {"Weekly design review", -30, 60, "Robin Ek"},
    {"Quarterly planning", 45, 30, "Sam Lind"},
    {"Customer demo", 150, 60, "Kim Berg"},
    {"Team retrospective", 240, 45, "Robin Ek"},
};

}  // namespace

CalendarBackend::CalendarBackend(std::chrono::system_clock::time_point now) {
    const auto seconds_now =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    int number = 0;
    for (const Booking& booking : kBookings) {
        ++number;
        CalendarEvent& item = *bookings_.add_items();
        item.set_id("booking-" + std::to_string(number));
        item.set_uri("sip:room-meeting-" + std::to_string(number) + "@meet.example.com");
        item.set_subject(booking.subject);
        item.set_start_time(seconds_now + booking.starts_in_minutes * 60);
        item.set_duration(booking.minutes);
        item.mutable_organizer()->set_uuid("person-" + std::to_string(number));
        item.mutable_organizer()->set_name(booking.organizer);
        item.set_should_alert(booking.starts_in_minutes > 0);
        item.set_vireo_id("vireo-booking-" + std::to_string(number));
        item.set_reminder_type(vanta::calendar::Scheduled);
        item.set_reminder_support_type(vanta::calendar::Service);
        item.set_is_joinable(true);
        item.set_meeting_backend(CalendarEvent::NIMBO_MEETING);
    }
    bookings_.set_owner_name("Meeting Room 3");
    bookings_.set_is_room_bookable(true);

    behave("GetCalendarEvents", &CalendarBackend::list);
    behave("GetCalendarEvent", &CalendarBackend::find);
    behave("DismissCalendarEvent", &CalendarBackend::dismiss);
    behave("DismissCalendarEvents", &CalendarBackend::dismiss_all);
}

grpc::Status CalendarBackend::list(const vanta::calendar::CalendarEventsRequest& request,
                                   CalendarEventList& list) {
    std::lock_guard<std::mutex> lock(mutex_);
    list = bookings_;
    if (request.from_time() == 0 && request.to_time() == 0) {
        return grpc::Status::OK;
    }
    list.clear_items();
    for (const CalendarEvent& item : bookings_.items()) {
        const int64_t end = item.start_time() + int64_t{item.duration()} * 60;
        if (end > request.from_time() &&
            (request.to_time() == 0 || item.start_time() < request.to_time())) {
            *list.add_items() = item;
        }
    }
    return grpc::Status::OK;
}

grpc::Status CalendarBackend::find(const CalendarEventRequest& request,
                                   vanta::calendar::CalendarEventResponse& response) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const CalendarEvent& item : bookings_.items()) {
        if (item.id() == request.id()) {
            response.set_found(true);
            *response.mutable_item() = item;
        }
    }
    return grpc::Status::OK;
}

grpc::Status CalendarBackend::dismiss(const CalendarEventRequest& request, Empty&) {
    dismiss_where([&](const CalendarEvent& item) { return item.id() == request.id(); });
    return grpc::Status::OK;
}

grpc::Status CalendarBackend::dismiss_all(const Empty&, Empty&) {
    dismiss_where([](const CalendarEvent&) { return true; });
    return grpc::Status::OK;
}

template <typename Choice>
void CalendarBackend::dismiss_where(Choice chosen) {
    std::lock_guard<std::mutex> lock(mutex_);
    bool changed = false;
    for (CalendarEvent& item : *bookings_.mutable_items()) {
        if (chosen(item) && !item.is_dismissed()) {
            item.set_is_dismissed(true);
            item.set_should_alert(false);
            changed = true;
        }
    }
    if (changed) {
        CalendarUpdate update;
        update.set_status(vanta::calendar::SUCCESS);
        *update.mutable_list() = bookings_;
        streams_.publish(update);
    }
}

}  // namespace vanta::sim
