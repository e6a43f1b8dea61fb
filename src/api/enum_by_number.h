#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace vanta::api {

// The member of `To` with the number of `value` when `To` has one, else
// `To`'s member 0 (its unknown or default member). For enumerations that the
// API and a backend define with the same members; `is_valid` is the generated
// <Enum>_IsValid of `To`.
template <typename To, typename From>
To by_number(From value, bool (*is_valid)(int)) {
    const int number = static_cast<int>(value);
    return is_valid(number) ? static_cast<To>(number) : static_cast<To>(0);
}

// The generated sentinel values of an enumeration are no member of either
// side: they raise std::runtime_error "Unexpected <conversion>".
inline void refuse_enum_sentinel(int number, const char* conversion) {
    if (number == std::numeric_limits<std::int32_t>::min() ||
        number == std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error(std::string("Unexpected ") + conversion);
    }
}

// The same with `fallback` for numbers `To` does not have; sentinels raise.
template <typename To, typename From>
To by_number(From value, bool (*is_valid)(int), To fallback, const char* conversion) {
    const int number = static_cast<int>(value);
    refuse_enum_sentinel(number, conversion);
    return is_valid(number) ? static_cast<To>(number) : fallback;
}

}  // namespace vanta::api
