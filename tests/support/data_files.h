#pragma once

// Reading the tests' data files (row tables in JSON or protobuf text format,
// read at run time from the source tree). A file that cannot be read or does
// not parse throws, naming the file, and so fails the test that reads it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <google/protobuf/text_format.h>
#include <nlohmann/json.hpp>

namespace vanta::testing {

// The whole file as text.
inline std::string read_text(const std::filesystem::path& path) {
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void write_text(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::trunc) << content;
}

inline nlohmann::json read_json(const std::filesystem::path& path) {
    try {
        return nlohmann::json::parse(read_text(path));
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(path.string() + ": " + error.what());
    }
}

template <typename Message>
Message read_text_format(const std::filesystem::path& path) {
    Message message;
    if (!google::protobuf::TextFormat::ParseFromString(read_text(path), &message)) {
        throw std::runtime_error(path.string() + " does not parse as " +
                                 Message::descriptor()->full_name());
    }
    return message;
}

}  // namespace vanta::testing
