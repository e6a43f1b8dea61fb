#pragma once

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

}  // namespace vanta::api
