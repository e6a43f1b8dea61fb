#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <grpc/grpc.h>
#include <grpcpp/channel.h>
#include <grpcpp/security/credentials.h>

namespace vanta {

// One gRPC channel to one backend address, shared by a client and its stream
// managers. Thread-safe: the gRPC channel is, and the members never change.
// The waits block the calling thread.
class GrpcClientChannel {
  public:
    GrpcClientChannel(std::string address, std::shared_ptr<grpc::ChannelCredentials> creds);
    virtual ~GrpcClientChannel();
    GrpcClientChannel(const GrpcClientChannel&) = delete;
    GrpcClientChannel& operator=(const GrpcClientChannel&) = delete;

    virtual std::string address() const;
    virtual std::shared_ptr<grpc::ChannelCredentials> creds() const;
    virtual std::shared_ptr<grpc::Channel> channel() const;

    // The channel's state, without trying to connect.
    virtual grpc_connectivity_state state();
    // The channel's state; an idle channel is asked to start connecting.
    virtual grpc_connectivity_state try_connect();
    // Asks the channel to connect every 500 ms until it is READY (true) or
    // `timeout` has passed (false).
    virtual bool wait_for_connected(const std::chrono::seconds& timeout);
    // Asks the channel to connect every 500 ms, as the wait above, until it is
    // READY or `stop` answers true (looked at every 100 ms); then reports
    // whether the channel is READY.
    // Throws std::bad_function_call if `stop` is empty.
    virtual bool wait_for_connected(const std::function<bool()>& stop);
    // Watches the channel's state changes (without asking it to connect) until
    // it reaches `target` (true) or `timeout` has passed (false).
    virtual bool wait_for_channel_state(grpc_connectivity_state target,
                                        const std::chrono::seconds& timeout);

  private:
    // Waits `span`, returning early (true) once the channel is READY.
    bool ready_within(std::chrono::milliseconds span);

    const std::string address_;
    const std::shared_ptr<grpc::ChannelCredentials> creds_;
    const std::shared_ptr<grpc::Channel> channel_;
};

}  // namespace vanta
