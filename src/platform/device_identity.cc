#include "platform/device_identity.h"

#include <cstdio>

#include <openssl/sha.h>

#include <boost/uuid/name_generator_sha1.hpp>
#include <boost/uuid/uuid_io.hpp>

namespace vanta::deviceidentifier {

namespace {

std::string sha1_hex_upper(const std::string& data) {
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(data.data()), data.size(), digest);
    std::string hex;
    hex.reserve(2 * SHA_DIGEST_LENGTH);
    for (const unsigned char byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof(pair), "%02X", byte);
        hex += pair;
    }
    return hex;
}

}  // namespace

std::string get_device_identifier(const std::string& first, const std::string& second) {
    // Boost's SHA-1 name generator is RFC 4122 version 5: the digest of the
    // namespace bytes and the name's bytes, with version and variant set.
    const boost::uuids::name_generator_sha1 in_dns_namespace(boost::uuids::ns::dns());
    return boost::uuids::to_string(in_dns_namespace(sha1_hex_upper(second + first)));
}

}  // namespace vanta::deviceidentifier
