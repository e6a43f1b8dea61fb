#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace vanta::plugins {

// The member of `To` with the number of `value` when `To` has one, else
// `To`'s member 0 (its unknown or default member): for enumerations that a
// backend and the API number alike. `is_valid` is the generated
// <Enum>_IsValid of `To`. The generated sentinels of an enumeration raise
// std::runtime_error "Unexpected <conversion>".
template <typename To, typename From>
To shared_enum_member(From value, bool (*is_valid)(int), const char* conversion) {
    const int number = static_cast<int>(value);
    if (number == std::numeric_limits<std::int32_t>::min() ||
        number == std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error(std::string("Unexpected ") + conversion);
    }
    return is_valid(number) ? static_cast<To>(number) : static_cast<To>(0);
}

}  // namespace vanta::plugins
