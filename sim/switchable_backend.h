#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <grpcpp/grpcpp.h>

#include "sim/backend_server.h"
#include "sim/hang_gate.h"

namespace vanta::sim {

// One simulated backend daemon whose server can be stopped, started again and
// hung while the backend object (and so its state) lives on. It starts
// stopped.
//
// Stopped: no server, no socket; callers see the connection refused. Hung:
// the server accepts calls but answers none (see HangGate) until started.
//
// Threading: every operation may be called from any thread; they take turns.
class SwitchableBackend {
  public:
    enum class State { running, stopped, hung };

    // `service` must outlive this.
    SwitchableBackend(std::string name, std::string address, grpc::Service& service);
    ~SwitchableBackend();
    SwitchableBackend(const SwitchableBackend&) = delete;
    SwitchableBackend& operator=(const SwitchableBackend&) = delete;

    // Each returns the state reached; start() and hang() throw
    // std::runtime_error when the address cannot be served.
    State start();
    State stop();
    State hang();

    State state() const;
    // The socket's name: "volumemgr_service".
    const std::string& name() const { return name_; }

  private:
    // Serves the address again unless it is served already.
    void serve();

    const std::string name_;
    const std::string address_;
    grpc::Service& service_;
    mutable std::mutex mutex_;
    State state_ = State::stopped;
    // Declared before the server: its interceptors wait on it.
    HangGate gate_;
    std::unique_ptr<BackendServer> server_;
};

// "running", "stopped" or "hung".
const char* state_name(SwitchableBackend::State state);

}  // namespace vanta::sim
