#pragma once

#include <functional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "sim/switchable_backend.h"
#include "simulator_control.grpc.pb.h"

namespace vanta::sim {

// Where vanta-simulator serves its control.
inline constexpr const char* kSimulatorControlAddress = "unix:/tmp/vanta_simulator_control";

// The simulator's control socket: stops, starts and hangs the simulated
// backends, named by their socket's name ("volumemgr_service") or a unique
// start of it ("volumemgr").
class SimulatorControlService final : public vanta::simcontrol::SimulatorControl::Service {
  public:
    using ChangeListener = std::function<void(const vanta::simcontrol::BackendStatus&)>;

    // `backends` must outlive this; `on_change` hears every change made
    // through the control (may be empty).
    explicit SimulatorControlService(std::vector<SwitchableBackend*> backends,
                                     ChangeListener on_change = {});

    // The backend `name` stands for; NOT_FOUND when none does,
    // INVALID_ARGUMENT when several do, the message naming the candidates.
    grpc::Status find(const std::string& name, SwitchableBackend** found) const;

    grpc::Status Stop(grpc::ServerContext* context,
                      const vanta::simcontrol::BackendRequest* request,
                      vanta::simcontrol::BackendStatus* response) override;
    grpc::Status Start(grpc::ServerContext* context,
                       const vanta::simcontrol::BackendRequest* request,
                       vanta::simcontrol::BackendStatus* response) override;
    grpc::Status Hang(grpc::ServerContext* context,
                      const vanta::simcontrol::BackendRequest* request,
                      vanta::simcontrol::BackendStatus* response) override;
    grpc::Status List(grpc::ServerContext* context, const google::protobuf::Empty* request,
                      vanta::simcontrol::BackendList* response) override;

  private:
    grpc::Status change(const std::string& name,
                        SwitchableBackend::State (SwitchableBackend::*operation)(),
                        vanta::simcontrol::BackendStatus* response);

    const std::vector<SwitchableBackend*> backends_;
    const ChangeListener on_change_;
};

}  // namespace vanta::sim
