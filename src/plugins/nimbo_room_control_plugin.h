#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Turns the room control service's "NimboRoomControl" bus messages into room
// control actions (volume and microphone requests) and space updates (the
// devices that share this room).
class NimboRoomControlPlugin {
  public:
    NimboRoomControlPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar);
    NimboRoomControlPlugin(const NimboRoomControlPlugin&) = delete;
    NimboRoomControlPlugin& operator=(const NimboRoomControlPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

    // API operations served by this plugin.
    grpc::Status get_space_info(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::SpaceInfo* response);

  private:
    void send_room_control_action(vantaapi::RoomControlAction::code action,
                                  const std::string& data);
    void send_space_update_event(const vantaapi::SpaceInfo& space);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
