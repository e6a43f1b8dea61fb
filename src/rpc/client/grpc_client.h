#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include <grpcpp/security/credentials.h>

#include "rpc/client/grpc_client_base.h"
#include "rpc/client/grpc_client_channel.h"

namespace vanta {

// The GrpcClientBase operations for the generated service `Service`, behind the
// backend's client interface `Interface`. A backend's ClientImpl derives from
// it, calls the backend through stub() and passes each status to
// handle_grpc_status().
//
// Threading: calls may come from several threads at once (the stub and the
// channel are thread-safe, each call has its own context). refresh_channel()
// swaps the channel pointer atomically; the stub keeps the gRPC channel it was
// built on.
template <typename Service, typename Interface>
class GrpcClient : public Interface {
  public:
    using ConnectivityState = GrpcClientBase::ConnectivityState;

    explicit GrpcClient(std::shared_ptr<GrpcClientChannel> channel)
        : channel_(std::move(channel)), stub_(Service::NewStub(channel_->channel())) {}
    // A client of its own channel to `address`.
    explicit GrpcClient(
        const std::string& address,
        std::shared_ptr<grpc::ChannelCredentials> creds = grpc::InsecureChannelCredentials())
        : GrpcClient(std::make_shared<GrpcClientChannel>(address, std::move(creds))) {}
    ~GrpcClient() override = default;
    GrpcClient(const GrpcClient&) = delete;
    GrpcClient& operator=(const GrpcClient&) = delete;

    ConnectivityState channel_state() override { return to_connectivity_state(channel()->state()); }
    ConnectivityState try_connect() override {
        return to_connectivity_state(channel()->try_connect());
    }
    bool wait_for_connected(const std::chrono::seconds& timeout) override {
        return channel()->wait_for_connected(timeout);
    }
    bool wait_for_channel_state(ConnectivityState state,
                                const std::chrono::seconds& timeout) override {
        const int value = static_cast<int>(state);
        if (value < 0 || value > 4) {
            throw std::invalid_argument("Unknown connectivity state");
        }
        return channel()->wait_for_channel_state(static_cast<grpc_connectivity_state>(value),
                                                 timeout);
    }
    // A new gRPC channel to the same address; the previous one goes when its
    // last holder (a stream manager, the stub) lets go.
    void refresh_channel() override {
        const std::shared_ptr<GrpcClientChannel> current = channel();
        std::atomic_store(
            &channel_, std::make_shared<GrpcClientChannel>(current->address(), current->creds()));
    }
    void set_caller(const std::string& caller) override { caller_ = caller; }
    std::string get_caller() const override { return caller_; }

    std::shared_ptr<GrpcClientChannel> channel() const { return std::atomic_load(&channel_); }

  protected:
    typename Service::Stub& stub() const { return *stub_; }

  private:
    static ConnectivityState to_connectivity_state(grpc_connectivity_state state) {
        const int value = static_cast<int>(state);
        if (value < 0 || value > 4) {
            throw std::invalid_argument("Unknown grpc connectivity state: " +
                                        std::to_string(value));
        }
        return static_cast<ConnectivityState>(value);
    }

    std::shared_ptr<GrpcClientChannel> channel_;
    const std::unique_ptr<typename Service::Stub> stub_;
    std::string caller_;
};

}  // namespace vanta
