#include "sim/simulator_control_service.h"

#include <exception>
#include <utility>

namespace vanta::sim {

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace

SimulatorControlService::SimulatorControlService(std::vector<SwitchableBackend*> backends,
                                                 ChangeListener on_change)
    : backends_(std::move(backends)), on_change_(std::move(on_change)) {}

grpc::Status SimulatorControlService::find(const std::string& name,
                                           SwitchableBackend** found) const {
    std::vector<SwitchableBackend*> matches;
    std::vector<std::string> all;
    for (SwitchableBackend* backend : backends_) {
        all.push_back(backend->name());
        if (backend->name() == name) {
            *found = backend;
            return grpc::Status::OK;
        }
        if (!name.empty() && backend->name().rfind(name, 0) == 0) {
            matches.push_back(backend);
        }
    }
    if (matches.size() == 1) {
        *found = matches.front();
        return grpc::Status::OK;
    }
    if (matches.empty()) {
        return grpc::Status(grpc::StatusCode::NOT_FOUND,
                            "no backend named \"" + name + "\"; backends: " + joined(all));
    }
    std::vector<std::string> candidates;
    for (SwitchableBackend* backend : matches) {
        candidates.push_back(backend->name());
    }
    return grpc::Status(grpc::StatusCode::INVALID_ARGUMENT,
                        "\"" + name + "\" names several backends: " + joined(candidates));
}

grpc::Status SimulatorControlService::Stop(grpc::ServerContext* /*context*/,
                                           const vanta::simcontrol::BackendRequest* request,
                                           vanta::simcontrol::BackendStatus* response) {
    return change(request->name(), &SwitchableBackend::stop, response);
}

grpc::Status SimulatorControlService::Start(grpc::ServerContext* /*context*/,
                                            const vanta::simcontrol::BackendRequest* request,
                                            vanta::simcontrol::BackendStatus* response) {
    return change(request->name(), &SwitchableBackend::start, response);
}

grpc::Status SimulatorControlService::Hang(grpc::ServerContext* /*context*/,
                                           const vanta::simcontrol::BackendRequest* request,
                                           vanta::simcontrol::BackendStatus* response) {
    return change(request->name(), &SwitchableBackend::hang, response);
}

grpc::Status SimulatorControlService::List(grpc::ServerContext* /*context*/,
                                           const google::protobuf::Empty* /*request*/,
                                           vanta::simcontrol::BackendList* response) {
    for (const SwitchableBackend* backend : backends_) {
        auto* status = response->add_backends();
        status->set_name(backend->name());
        status->set_state(state_name(backend->state()));
    }
    return grpc::Status::OK;
}

grpc::Status SimulatorControlService::change(
    const std::string& name, SwitchableBackend::State (SwitchableBackend::*operation)(),
    vanta::simcontrol::BackendStatus* response) {
    SwitchableBackend* backend = nullptr;
    const grpc::Status found = find(name, &backend);
    if (!found.ok()) {
        return found;
    }
    const SwitchableBackend::State before = backend->state();
    SwitchableBackend::State after;
    try {
        after = (backend->*operation)();
    } catch (const std::exception& e) {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, backend->name() + ": " + e.what());
    }
    response->set_name(backend->name());
    response->set_state(state_name(after));
    if (after != before && on_change_) {
        on_change_(*response);
    }
    return grpc::Status::OK;
}

}  // namespace vanta::sim
