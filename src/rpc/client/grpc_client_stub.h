#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "rpc/client/grpc_client_base.h"
#include "rpc/client/grpc_observable_client_base.h"

namespace vanta {

// The GrpcClientBase operations for a client that no gRPC service backs: never
// connected, nothing to wait for, no caller kept.
template <typename Interface>
class GrpcClientStub : public Interface {
  public:
    using ConnectivityState = GrpcClientBase::ConnectivityState;

    ConnectivityState channel_state() override { return ConnectivityState::Idle; }
    ConnectivityState try_connect() override { return ConnectivityState::Idle; }
    bool wait_for_connected(const std::chrono::seconds& /*timeout*/) override { return false; }
    bool wait_for_channel_state(ConnectivityState /*state*/,
                                const std::chrono::seconds& /*timeout*/) override {
        return false;
    }
    void refresh_channel() override {}
    void set_caller(const std::string& /*caller*/) override {}
    std::string get_caller() const override { return {}; }
};

// The observable variant: observers are accepted and never called; no stream
// and no thread is started.
template <typename Interface, typename Event, typename Handler = std::function<void(const Event&)>>
class GrpcObservableClientStub : public GrpcClientStub<Interface>,
                                 public virtual GrpcObservableClientBase<Event, Handler> {
  public:
    void SetObserver(const Handler& /*on_event*/,
                     const std::function<void()>& /*on_disconnect*/) override {}
    void SetObserver(const Handler& /*on_event*/, const std::function<void()>& /*on_disconnect*/,
                     const std::function<void()>& /*on_stream_end*/) override {}
    void RemoveObserver() override {}
};

}  // namespace vanta
