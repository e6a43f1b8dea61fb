#include "plugins/system_controller_plugin.h"

#include "vantaapimessages.pb.h"

namespace vanta {

SystemControllerPlugin::SystemControllerPlugin(Executor& executor,
                                               GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                               PluginRegistrar&, const Endpoint& systemcontroller)
    : publisher_(publisher), client_(systemcontroller::create_client(executor, systemcontroller)) {
    subscribe_to_events();
}

void SystemControllerPlugin::subscribe_to_events() {
    client_->SetObserver([this](const systemcontroller::Event& event) { event_handler(event); },
                         [] {});
}

void SystemControllerPlugin::event_handler(const systemcontroller::Event& event) {
    vantaapi::VantaEvent published;
    vantaapi::SystemEvent& system = *published.mutable_system_event();
    switch (event.what()) {
        case systemcontroller::SYSTEM_STATE_CHANGED:
            system.set_what(vantaapi::SystemEvent::SYSTEM_STATE);
            break;
        case systemcontroller::DEVICE_STATE_CHANGED:
            system.set_what(vantaapi::SystemEvent::DEVICE_STATE);
            break;
        default:
            system.set_what(vantaapi::SystemEvent::UNKNOWN_CHANGE);
            break;
    }
    publisher_.publish(published);
}

}  // namespace vanta
