#pragma once

#include <string>

namespace vanta::deviceidentifier {

// The device's stable identifier: the name-based (version 5, SHA-1) UUID, in
// the DNS namespace, of the upper-case hexadecimal SHA-1 digest of `second`
// followed by `first`. Written in the 8-4-4-4-12 form with lower-case digits.
// The system-information operation passes the Wi-Fi MAC address and the serial
// number; the order of the two matters.
std::string get_device_identifier(const std::string& first, const std::string& second);

}  // namespace vanta::deviceidentifier
