#pragma once

#include <memory>

#include "clients/avatar/avatar_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Announces where a picture asked for with GetAvatar can be found: each
// avatar the avatar service reports on its stream becomes a
// `new_avatar_info_event` (published on the stream's reader thread).
class AvatarPlugin {
  public:
    // The client talks to `avatar`, the catalogue's row of that name.
    AvatarPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 PluginRegistrar& registrar, const Endpoint& avatar = device_endpoints().avatar);
    AvatarPlugin(const AvatarPlugin&) = delete;
    AvatarPlugin& operator=(const AvatarPlugin&) = delete;

  private:
    void send_avatar_info(const avatar::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<avatar::Client> client_;
};

}  // namespace vanta
