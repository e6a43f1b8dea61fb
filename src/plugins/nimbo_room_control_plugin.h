#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <memory>
#include <string>

#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Turns the room control service's "NimboRoomControl" bus messages into room
// control actions (volume and microphone requests) and space updates (the
// devices that share this room), and asks the room control service what the
// space is made of.
class NimboRoomControlPlugin {
  public:
    // The client talks to `nimboroomcontrol`, the catalogue's row of that
    // name.
    NimboRoomControlPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar,
                           const Endpoint& nimboroomcontrol = device_endpoints().nimboroomcontrol);
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
    std::unique_ptr<nimboroomcontrol::Client> client_;
};

}  // namespace vanta
