#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <memory>
#include <string>

#include "clients/nimboultrasound/nimboultrasound_client.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Ultrasound pairing: the ultrasound service's announcements as API events,
// and its guest token and manual-pairing PIN for API clients.
class PairingPlugin {
  public:
    // The client talks to `nimboultrasound`, the catalogue's ultrasound row.
    PairingPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar,
                  const Endpoint& nimboultrasound = device_endpoints().nimboultrasound);
    PairingPlugin(const PairingPlugin&) = delete;
    PairingPlugin& operator=(const PairingPlugin&) = delete;

    void update_status(vantaapi::UserDetectionState::Code state, const std::string& data,
                       const std::string& uuid);
    void publish_token_event(vantaapi::PairingTokenEvent::ChangeType what);

    // API operations served by this plugin. The token and the PIN are
    // personal: they go to the caller and never to the log.
    grpc::Status get_guest_token(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::TokenResponse* response);
    grpc::Status get_manual_pair_pin(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::ManualPairChallenge* response);

  private:
    void handle_pairing_event(const pubsub::PubSubMessage& message);
    void handle_guest_token_event(const pubsub::PubSubMessage& message);
    void handle_manual_pair_event(const pubsub::PubSubMessage& message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
    std::unique_ptr<nimboultrasound::Client> client_;
};

}  // namespace vanta
