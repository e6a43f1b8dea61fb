#include "platform/system_command.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace vanta::platform {

namespace {

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// Everything `command` writes to its standard output.
std::string read_output(const std::string& command) {
    std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    if (!pipe) {
        throw std::runtime_error("popen() failed!");
    }
    std::string output;
    char buffer[512];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof(buffer), pipe.get())) > 0) {
        output.append(buffer, count);
    }
    return output;
}

std::string trim(const std::string& text) {
    const char* blanks = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

int SystemCommandImpl::system(const std::string& command) {
    return std::system(command.c_str());
}

std::string SystemCommandImpl::system_output_string(const std::string& command) {
    return trim(read_output(command));
}

std::vector<std::string> SystemCommandImpl::system_output_line(const std::string& command) {
    std::istringstream output(read_output(command));
    std::vector<std::string> lines;
    for (std::string line; std::getline(output, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::unique_ptr<SystemCommand> create_system_wrapper() {
    return std::make_unique<SystemCommandImpl>();
}

}  // namespace vanta::platform
