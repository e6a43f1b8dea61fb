#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vanta::platform {

// Runs shell command lines. An interface so that code reading command output
// can be given canned answers.
class SystemCommand {
  public:
    virtual ~SystemCommand() = default;
    // The status that system() returns for `command`.
    virtual int system(const std::string& command) = 0;
    // The command's standard output, white space trimmed at both ends.
    // Throws std::runtime_error "popen() failed!" when it cannot be started.
    virtual std::string system_output_string(const std::string& command) = 0;
    // The command's standard output, one entry per line.
    virtual std::vector<std::string> system_output_line(const std::string& command) = 0;
};

class SystemCommandImpl final : public SystemCommand {
  public:
    int system(const std::string& command) override;
    std::string system_output_string(const std::string& command) override;
    std::vector<std::string> system_output_line(const std::string& command) override;
};

std::unique_ptr<SystemCommand> create_system_wrapper();

}  // namespace vanta::platform
