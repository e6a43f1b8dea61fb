#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapievents.pb.h"

namespace vanta {

class CertificateManagerPlugin {
  public:
    CertificateManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar);
    CertificateManagerPlugin(const CertificateManagerPlugin&) = delete;
    CertificateManagerPlugin& operator=(const CertificateManagerPlugin&) = delete;
};

}  // namespace vanta
