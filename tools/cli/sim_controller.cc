#include "sim_controller.h"

#include <utility>

#include "rpc/client/endpoint_catalogue.h"
#include "simulator_control.grpc.pb.h"

namespace vanta::cli {

namespace {

using vanta::simcontrol::SimulatorControl;

std::string status_line(const vanta::simcontrol::BackendStatus& status) {
    return status.name() + " " + status.state() + "\n";
}

}  // namespace

SimController::SimController(Peer simulator) : simulator_(std::move(simulator)) {}

std::vector<std::string> SimController::actions() {
    return {"stop", "start", "hang"};
}

std::vector<std::string> SimController::backend_names() {
    std::vector<std::string> names;
    const auto& device = device_endpoints();
    for (const auto& row : device.rows()) {
        if (row.endpoint.address != device.vantaapi.address &&
            row.endpoint.address != device.zapigateway.address) {
            names.push_back(socket_name(row.endpoint));
        }
    }
    return names;
}

std::string SimController::change(const std::string& action, const std::string& backend) {
    const auto stub = SimulatorControl::NewStub(simulator_.channel);
    grpc::ClientContext context;
    vanta::simcontrol::BackendRequest request;
    request.set_name(backend);
    vanta::simcontrol::BackendStatus status;
    grpc::Status answer;
    if (action == "stop") {
        answer = stub->Stop(&context, request, &status);
    } else if (action == "start") {
        answer = stub->Start(&context, request, &status);
    } else if (action == "hang") {
        answer = stub->Hang(&context, request, &status);
    } else {
        throw UsageError("the simulator can stop, start or hang a backend, not '" + action + "'");
    }
    throw_unless_ok(answer, simulator_);
    return status_line(status);
}

std::string SimController::list() {
    const auto stub = SimulatorControl::NewStub(simulator_.channel);
    grpc::ClientContext context;
    vanta::simcontrol::BackendList backends;
    throw_unless_ok(stub->List(&context, google::protobuf::Empty(), &backends), simulator_);
    std::string lines;
    for (const auto& backend : backends.backends()) {
        lines += status_line(backend);
    }
    return lines;
}

}  // namespace vanta::cli
