#include "rpc/client/grpc_client_channel.h"

#include <thread>

#include <grpcpp/create_channel.h>

namespace vanta {

namespace {
constexpr std::chrono::milliseconds kConnectPollInterval{500};
// How soon a waiting reader notices that it is being stopped: a daemon that
// shuts down with a dozen backends absent must not wait on each for long.
constexpr std::chrono::milliseconds kStopPollInterval{100};
constexpr std::chrono::milliseconds kStateWatchSlice{200};
}  // namespace

GrpcClientChannel::GrpcClientChannel(std::string address,
                                     std::shared_ptr<grpc::ChannelCredentials> creds)
    : address_(std::move(address)),
      creds_(std::move(creds)),
      channel_(grpc::CreateChannel(address_, creds_)) {}

GrpcClientChannel::~GrpcClientChannel() = default;

std::string GrpcClientChannel::address() const {
    return address_;
}

std::shared_ptr<grpc::ChannelCredentials> GrpcClientChannel::creds() const {
    return creds_;
}

std::shared_ptr<grpc::Channel> GrpcClientChannel::channel() const {
    return channel_;
}

grpc_connectivity_state GrpcClientChannel::state() {
    return channel_->GetState(false);
}

grpc_connectivity_state GrpcClientChannel::try_connect() {
    const grpc_connectivity_state current = channel_->GetState(true);
    if (current == GRPC_CHANNEL_TRANSIENT_FAILURE) {
        // After failed attempts gRPC waits longer and longer (up to minutes)
        // before it tries again; a backend that comes back would go unnoticed
        // for that long. Asking is our cue to try again now.
        grpc::experimental::ChannelResetConnectionBackoff(channel_.get());
    }
    return current;
}

bool GrpcClientChannel::wait_for_connected(const std::chrono::seconds& timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        if (try_connect() == GRPC_CHANNEL_READY) {
            return true;
        }
        if (ready_within(kConnectPollInterval)) {
            return true;
        }
    }
}

bool GrpcClientChannel::ready_within(std::chrono::milliseconds span) {
    // Watches the state instead of sleeping, so that a connection started by
    // try_connect() is noticed as soon as it is up.
    const auto until = std::chrono::system_clock::now() + span;
    grpc_connectivity_state current = channel_->GetState(false);
    while (current != GRPC_CHANNEL_READY && channel_->WaitForStateChange(current, until)) {
        current = channel_->GetState(false);
    }
    if (current == GRPC_CHANNEL_READY) {
        return true;
    }
    std::this_thread::sleep_until(until);
    return false;
}

bool GrpcClientChannel::wait_for_connected(const std::function<bool()>& stop) {
    auto next_attempt = std::chrono::steady_clock::now();
    for (;;) {
        if (stop()) {
            return state() == GRPC_CHANNEL_READY;
        }
        if (std::chrono::steady_clock::now() >= next_attempt) {
            if (try_connect() == GRPC_CHANNEL_READY) {
                return true;
            }
            next_attempt = std::chrono::steady_clock::now() + kConnectPollInterval;
        }
        if (ready_within(kStopPollInterval)) {
            return true;
        }
    }
}

bool GrpcClientChannel::wait_for_channel_state(grpc_connectivity_state target,
                                               const std::chrono::seconds& timeout) {
    grpc_connectivity_state current = state();
    if (current == target) {
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (channel_->WaitForStateChange(current,
                                         std::chrono::system_clock::now() + kStateWatchSlice)) {
            current = state();
            if (current == target) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace vanta
