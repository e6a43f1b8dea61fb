#pragma once

// Reading the tests' data files (row tables in JSON or protobuf text format,
// read at run time from the source tree). A file that cannot be read or does
// not parse throws, naming the file, and so fails the test that reads it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// A data row's `text` with every placeholder ("{address}") replaced by its
// value.
inline std::string with_placeholders(std::string text,
                                     const std::map<std::string, std::string>& values) {
    for (const auto& [placeholder, value] : values) {
        for (size_t at = 0; (at = text.find(placeholder, at)) != std::string::npos;) {
            text.replace(at, placeholder.size(), value);
            at += value.size();
        }
    }
    return text;
}

inline nlohmann::json read_json(const std::filesystem::path& path) {
    try {
        return nlohmann::json::parse(read_text(path));
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(path.string() + ": " + error.what());
    }
}

// A `Message` written in protobuf text form; throws std::invalid_argument
// when the text does not parse.
template <typename Message>
Message from_text(const std::string& text) {
    Message message;
    if (!google::protobuf::TextFormat::ParseFromString(text, &message)) {
        throw std::invalid_argument("test data is not a " + message.GetTypeName() + ": " + text);
    }
    return message;
}

template <typename Message>
Message read_text_format(const std::filesystem::path& path) {
    try {
        return from_text<Message>(read_text(path));
    } catch (const std::invalid_argument&) {
        throw std::runtime_error(path.string() + " does not parse as " +
                                 Message::descriptor()->full_name());
    }
}

}  // namespace vanta::testing
