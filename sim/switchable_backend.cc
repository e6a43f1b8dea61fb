#include "sim/switchable_backend.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace vanta::sim {

namespace {

// The file of a Unix socket address, empty for other addresses.
std::string socket_file(const std::string& address) {
    const std::string prefix = "unix:";
    return address.rfind(prefix, 0) == 0 ? address.substr(prefix.size()) : std::string();
}

}  // namespace

SwitchableBackend::SwitchableBackend(std::string name, std::string address, grpc::Service& service)
    : name_(std::move(name)), address_(std::move(address)), service_(service) {}

SwitchableBackend::~SwitchableBackend() {
    stop();
}

SwitchableBackend::State SwitchableBackend::start() {
    std::lock_guard<std::mutex> lock(mutex_);
    serve();
    gate_.open();
    state_ = State::running;
    return state_;
}

SwitchableBackend::State SwitchableBackend::hang() {
    std::lock_guard<std::mutex> lock(mutex_);
    gate_.hold();
    try {
        serve();
    } catch (...) {
        gate_.open();
        throw;
    }
    state_ = State::hung;
    return state_;
}

SwitchableBackend::State SwitchableBackend::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    // What waits in a hung server goes on, so that the shutdown can end it.
    gate_.open();
    if (server_) {
        server_->shutdown();
        server_.reset();
        const std::string file = socket_file(address_);
        if (!file.empty()) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
        }
    }
    state_ = State::stopped;
    return state_;
}

SwitchableBackend::State SwitchableBackend::state() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void SwitchableBackend::serve() {
    if (server_) {
        return;
    }
    server_ = std::make_unique<BackendServer>(std::vector<std::string>{address_},
                                              std::initializer_list<grpc::Service*>{&service_},
                                              gate_.interceptors());
}

const char* state_name(SwitchableBackend::State state) {
    switch (state) {
        case SwitchableBackend::State::running:
            return "running";
        case SwitchableBackend::State::stopped:
            return "stopped";
        case SwitchableBackend::State::hung:
            return "hung";
    }
    return "unknown";
}

}  // namespace vanta::sim
