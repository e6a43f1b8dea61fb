#include "gateway/bookings_list_command.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "gateway/json_schema.h"

namespace vanta::zapi {

using nlohmann::json;

namespace {

// "%FT%T+0000" of the time, computed without time_t: on the device (32-bit
// ARM) that ends in January 2038, and bookings may lie beyond.
std::string format_utc(std::int64_t seconds_since_epoch) {
    constexpr std::int64_t kSecondsPerDay = 86400;
    std::int64_t days = seconds_since_epoch / kSecondsPerDay;
    std::int64_t second_of_day = seconds_since_epoch % kSecondsPerDay;
    if (second_of_day < 0) {
        second_of_day += kSecondsPerDay;
        --days;
    }
    // The civil date of a day count, in 400-year eras of 146097 days that
    // start on 1 March 0000 (so that leap days come last).
    constexpr std::int64_t kDaysPerEra = 146097;
    days += 719468;  // 1970-01-01 counted from 0000-03-01
    const std::int64_t era = (days >= 0 ? days : days - kDaysPerEra + 1) / kDaysPerEra;
    const std::int64_t day_of_era = days - era * kDaysPerEra;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * month_from_march + 2) / 5 + 1;
    const std::int64_t month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    const int length =
        std::snprintf(text, sizeof(text), "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld+0000",
                      static_cast<long long>(year), static_cast<long long>(month),
                      static_cast<long long>(day), static_cast<long long>(second_of_day / 3600),
                      static_cast<long long>(second_of_day % 3600 / 60),
                      static_cast<long long>(second_of_day % 60));
    return std::string(text, static_cast<size_t>(length));
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
