#include "plugins/nimbo_room_control_plugin.h"

#include <stdexcept>

#include "nimboroomcontrol.pb.h"
#include "rpc/client/grpc_exception_handler.h"
#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

constexpr char kTopic[] = "NimboRoomControl";

// The room control service and the API name the same roles with different
// numbers.
vantaapi::SpaceDevice::Role to_space_role(int role) {
    using Api = vantaapi::SpaceDevice;
    switch (role) {
        case nimboroomcontrol::PLAY_ULTRASOUND:
            return Api::ULTRASOUND_BROADCASTING;
        case nimboroomcontrol::MAIN_AUDIO_RENDER:
            return Api::MAIN_AUDIO_RENDERING;
        case nimboroomcontrol::MAIN_VIDEO_RENDER:
            return Api::MAIN_VIDEO_RENDERING;
        case nimboroomcontrol::WIRELESS_SHARE_RENDER:
            return Api::PRESENTATION_RENDERING;
        case nimboroomcontrol::BINDINGS_CLEANUP_AFTER_CALL:
            return Api::BINDINGS_CLEANUP_AFTER_CALL;
        case nimboroomcontrol::CALL_CONTROL_MASTER:
            return Api::CALL_CONTROL_MASTER;
        default:
            return Api::UNKNOWN_ROLE;
    }
}

void copy_space_device(const nimboroomcontrol::SpaceDevice& source, vantaapi::SpaceDevice& target) {
    target.set_device_url(source.device_url());
    for (const int role : source.roles()) {
        target.add_roles(to_space_role(role));
    }
}

vantaapi::SpaceInfo to_space_info(const nimboroomcontrol::SpaceDeviceInfo& source) {
    vantaapi::SpaceInfo space;
    space.set_number_of_devices_in_space(source.number_of_devices_in_space());
    if (source.has_self()) {
        copy_space_device(source.self(), *space.mutable_self());
    }
    for (const auto& companion : source.companions()) {
        copy_space_device(companion, *space.add_companions());
    }
    return space;
}

}  // namespace

NimboRoomControlPlugin::NimboRoomControlPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                               PluginRegistrar& registrar,
                                               const Endpoint& nimboroomcontrol)
    : publisher_(publisher),
      registrar_(registrar),
      logger_(logging::getLogger("VantaApi")),
      client_(nimboroomcontrol::create_nimboroomcontrol_client(nimboroomcontrol)) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void NimboRoomControlPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using Action = vantaapi::RoomControlAction;
    const std::string& data = message.msg().data();
    switch (message.msg().event()) {
        case 1:
            logger_.info("VANTAAPI SET_VOLUME");
            send_room_control_action(Action::SET_VOLUME, data);
            break;
        case 2:
            logger_.info("VANTAAPI SET_MUTE");
            send_room_control_action(Action::SET_MUTE, data);
            break;
        case 3:
            logger_.info("VANTAAPI SET_UNMUTE");
            send_room_control_action(Action::SET_UNMUTE, data);
            break;
        case 4:
            logger_.info("VANTAAPI INCREASE_VOLUME");
            send_room_control_action(Action::INCREASE_VOLUME, data);
            break;
        case 5:
            logger_.info("VANTAAPI DECREASE_VOLUME");
            send_room_control_action(Action::DECREASE_VOLUME, data);
            break;
        case 6: {
            logger_.info("VANTAAPI SPACE_DEVICES_UPDATED");
            nimboroomcontrol::SpaceDeviceInfo devices;
            if (!message.msg().message_data().UnpackTo(&devices)) {
                throw std::runtime_error(
                    "SpaceUpdate: Failed to unpack room control space device info");
            }
            send_space_update_event(to_space_info(devices));
            break;
        }
        default:
            logger_.info("unknown room control event");
            break;
    }
}

void NimboRoomControlPlugin::send_room_control_action(vantaapi::RoomControlAction::code action,
                                                      const std::string& data) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_new_roomcontrol_action();
    payload->set_action(action);
    payload->set_data(data);
    publisher_.publish(event);
}

void NimboRoomControlPlugin::send_space_update_event(const vantaapi::SpaceInfo& space) {
    vantaapi::VantaEvent event;
    *event.mutable_space_update_event() = space;
    publisher_.publish(event);
}

grpc::Status NimboRoomControlPlugin::get_space_info(grpc::ServerContext*,
                                                    const google::protobuf::Empty*,
                                                    vantaapi::SpaceInfo* response) {
    nimboroomcontrol::SpaceDeviceInfo devices;
    const grpc::Status status =
        grpc_exception_handler("GetSpaceInfo", [&] { devices = client_->GetSpaceInfo(); });
    *response = to_space_info(devices);
    return status;
}

}  // namespace vanta
