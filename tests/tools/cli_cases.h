#pragma once

// The tables of the vanta-cli tests, read from cli_cases.json in this folder.

#include <fstream>

#include <nlohmann/json.hpp>

namespace vanta::testing {

inline nlohmann::json cli_cases(const char* table) {
    std::ifstream file(CLI_CASES_FILE);
    return nlohmann::json::parse(file).at(table);
}

}  // namespace vanta::testing
