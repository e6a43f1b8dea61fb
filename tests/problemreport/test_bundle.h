#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Helpers of the problem-report tests: files of a bundle and log lines.
namespace vanta::testing {

inline void write_text(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::trunc) << content;
}

inline std::string read_text(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline size_t lines_with(const std::vector<std::string>& lines, const std::string& text) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

}  // namespace vanta::testing
