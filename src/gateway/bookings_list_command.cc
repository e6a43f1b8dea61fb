#include "gateway/bookings_list_command.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <limits>

#include "gateway/json_schema.h"

namespace vanta::zapi {

using nlohmann::json;

namespace {

std::string format_utc(std::int64_t seconds_since_epoch) {
    const auto time = static_cast<std::time_t>(seconds_since_epoch);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    const size_t length = std::strftime(text, sizeof(text), "%FT%T%z", &parts);
    return std::string(text, length);
}

std::int64_t now_seconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

json booking(const vantaapi::CalendarEvent& event) {
    constexpr std::int64_t kSecondsPerMinute = 60;
    const vantaapi::Person& organizer = event.organizer();
    // A start near either end of time saturates there rather than overflow.
    std::int64_t end = 0;
    if (__builtin_add_overflow(event.start_time(), kSecondsPerMinute * event.duration(), &end)) {
        end = event.duration() > 0 ? std::numeric_limits<std::int64_t>::max()
                                   : std::numeric_limits<std::int64_t>::min();
    }
    return {
        {"Organizer",
         {{"Email", ""},
          {"FirstName", organizer.name()},
          {"Id", organizer.uuid()},
          {"LastName", ""}}},
        {"Time", {{"EndTime", format_utc(end)}, {"StartTime", format_utc(event.start_time())}}}};
}

}  // namespace

json BookingsListCommand::schema() const {
    using namespace json_schema;
    const json arguments = json::object({
        integer_schema("Days", false, 1, 365, 365),
        integer_schema("DayOffset", false, 0, 365, 0),
        integer_schema("Limit", false, 1, 65534, 65534),
        integer_schema("Offset", false, 0, 65534, 0),
    });
    const json time =
        json::object({string_schema("EndTime", true), string_schema("StartTime", true)});
    const json organizer =
        json::object({string_schema("Email", true), string_schema("FirstName", true),
                      string_schema("Id", true), string_schema("LastName", true)});
    const json items = {
        {"type", "object"},
        {"properties", json::object({object_schema("Time", time, true),
                                     object_schema("Organizer", organizer, true)})}};
    const json result = json::object(
        {object_schema("schema", json::object({array_schema("Booking", items)}), true)});
    return {{"arguments", arguments}, {"body", nullptr}, {"result", result}};
}

json BookingsListCommand::invoke(const json& /*arguments*/) const {
    const vantaapi::CalendarEventList list = client_->GetCalendarEvents();
    json bookings = json::array();
    for (const vantaapi::CalendarEvent& event : list.items()) {
        bookings.push_back(booking(event));
    }
    return succeeded_answer({{"Booking", bookings},
                             {"LastUpdated", format_utc(now_seconds())},
                             {"ResultInfo", {{"TotalRows", list.items_size()}}}});
}

}  // namespace vanta::zapi
