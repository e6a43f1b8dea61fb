#pragma once

#include <chrono>
#include <string>

namespace vanta {

// The root of every backend client interface: connectivity of the client's
// channel, waiting for a connection, replacing the channel, and a caller label.
// A backend's interface derives from it and adds the backend's operations.
class GrpcClientBase {
  public:
    // gRPC's channel connectivity states, with the same values.
    enum class ConnectivityState {
        Idle = 0,
        Connecting = 1,
        Ready = 2,
        TransientFailure = 3,
        Shutdown = 4,
    };

    virtual ~GrpcClientBase() = default;

    virtual ConnectivityState channel_state() = 0;
    virtual ConnectivityState try_connect() = 0;
    virtual bool wait_for_connected(const std::chrono::seconds& timeout) = 0;
    virtual bool wait_for_channel_state(ConnectivityState state,
                                        const std::chrono::seconds& timeout) = 0;
    virtual void refresh_channel() = 0;
    virtual void set_caller(const std::string& caller) = 0;
    virtual std::string get_caller() const = 0;
};

}  // namespace vanta
