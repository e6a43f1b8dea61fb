#pragma once

// Reads a row table of the API service's tests from its text-format data file
// (schema: tests/proto/api_rows.proto) in VANTA_API_ROWS_DIR, the folder of
// this file. A file that cannot be read or does not parse throws, failing the
// test that reads it.

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <google/protobuf/text_format.h>

#include "api_rows.pb.h"

namespace vanta::testing {

template <typename Rows>
Rows read_rows(const std::string& file_name) {
    const std::string path = std::string(VANTA_API_ROWS_DIR) + "/" + file_name;
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    Rows rows;
    if (!file || !google::protobuf::TextFormat::ParseFromString(text.str(), &rows)) {
        throw std::runtime_error(path + " cannot be read or does not parse");
    }
    return rows;
}

}  // namespace vanta::testing
