#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapievents.pb.h"

namespace vanta {

class PhonebookPlugin {
  public:
    PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
    PhonebookPlugin(const PhonebookPlugin&) = delete;
    PhonebookPlugin& operator=(const PhonebookPlugin&) = delete;
};

}  // namespace vanta
