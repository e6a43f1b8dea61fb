#include "sim/systemcontroller_backend.h"

namespace vanta::sim {

SystemControllerBackend::SystemControllerBackend() {
    state_.set_state(vanta::systemcontroller::AWAKE);
    behave("GetState", &SystemControllerBackend::state);
    behave("GetDeviceState", &SystemControllerBackend::device_state);
}

void SystemControllerBackend::standby(Reason reason) {
    change(vanta::systemcontroller::STANDBY, reason);
}

void SystemControllerBackend::wake_up(Reason reason) {
    change(vanta::systemcontroller::AWAKE, reason);
}

void SystemControllerBackend::hear(const vanta::pubsub::PubSubMsg& message) {
    if (message.topic() == "UXStandbyEvent") {
        standby();
    } else if (message.topic() == "UXWakeUpEvent") {
        wake_up();
    }
}

grpc::Status SystemControllerBackend::state(const Empty&,
                                            vanta::systemcontroller::StateResponse& response) {
    std::lock_guard<std::mutex> lock(mutex_);
    response = state_;
    return grpc::Status::OK;
}

grpc::Status SystemControllerBackend::device_state(
    const Empty&, vanta::systemcontroller::DeviceStateResponse& response) {
    response.set_device_state(vanta::systemcontroller::DeviceStateResponse::RUNNING);
    return grpc::Status::OK;
}

void SystemControllerBackend::change(vanta::systemcontroller::SystemState state, Reason reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_.state() == state) {
        return;
    }
    state_.set_state(state);
    state_.set_reason(reason);
    vanta::systemcontroller::Event event;
    event.set_what(vanta::systemcontroller::SYSTEM_STATE_CHANGED);
    streams.publish(event);
}

}  // namespace vanta::sim
