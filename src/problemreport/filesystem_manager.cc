#include "problemreport/filesystem_manager.h"

#include <stdexcept>

namespace fs = std::filesystem;

namespace vanta::problemreport {

namespace {

class FileSystemManagerImpl final : public FileSystemManager {
  public:
    fs::space_info get_space_info(const std::string& path) override { return fs::space(path); }

    std::uintmax_t get_directory_space_usage(const std::string& path) override {
        if (!fs::is_directory(path)) {
            throw std::runtime_error("missing directory " + path);
        }
        std::uintmax_t total = 0;
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            if (entry.is_regular_file()) {
                total += entry.file_size();
            }
        }
        return total;
    }
};

}  // namespace

std::shared_ptr<FileSystemManager> create_filesystem_manager() {
    return std::make_shared<FileSystemManagerImpl>();
}

}  // namespace vanta::problemreport
