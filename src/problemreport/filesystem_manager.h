#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vanta::problemreport {

// Space on the device's file systems; an interface so that copies can be
// tried against a full disk.
class FileSystemManager {
  public:
    virtual ~FileSystemManager() = default;
    // The space of the file system that holds `path`.
    virtual std::filesystem::space_info get_space_info(const std::string& path) = 0;
    // The total size of the files below `path`; throws std::runtime_error
    // "missing directory <path>" when it does not exist.
    virtual std::uintmax_t get_directory_space_usage(const std::string& path) = 0;
};

std::shared_ptr<FileSystemManager> create_filesystem_manager();

}  // namespace vanta::problemreport
