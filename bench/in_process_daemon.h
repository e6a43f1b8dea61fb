#pragma once

// The API service as the daemon runs it (a main loop over its executor on a
// thread of its own), on `address` with the backends of a catalogue, and a
// temporary directory for that catalogue's sockets.

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "api/vantaapi_service.h"
#include "rpc/client/endpoint_catalogue.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/logging/loggers.h"
#include "runtime/main_loop.h"

namespace vanta::bench {

class InProcessDaemon {
  public:
    InProcessDaemon(const std::string& address, const EndpointCatalogue& endpoints)
        : executor_(logging::getLogger("vantaapid")) {
        host_ = create_vantaapi_service(executor_, address, endpoints);
        host_->run(GrpcServer::AccessLevel::AllWrite);
        loop_ = std::thread([this] {
            run_main_loop(
                executor_, [this] { return quit_.load(); }, std::chrono::milliseconds(20));
        });
    }
    ~InProcessDaemon() {
        quit_ = true;
        loop_.join();
        host_.reset();
    }
    InProcessDaemon(const InProcessDaemon&) = delete;
    InProcessDaemon& operator=(const InProcessDaemon&) = delete;

  private:
    WaitingExecutor executor_;
    std::unique_ptr<GrpcServer> host_;
    std::atomic<bool> quit_{false};
    std::thread loop_;
};

// A fresh directory under the system's temporary folder, removed with all
// its sockets when destroyed.
class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vanta-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string socket_address(const std::string& name) const {
        return "unix:" + path_ + "/" + name;
    }

  private:
    std::string path_;
};

}  // namespace vanta::bench
