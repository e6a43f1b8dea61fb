#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Helpers of the problem-report tests: the files of a bundle.
namespace vanta::testing {

inline void write_text(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::trunc) << content;
}

inline std::string read_text(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace vanta::testing
