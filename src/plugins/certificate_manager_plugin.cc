#include "plugins/certificate_manager_plugin.h"

namespace vanta {

CertificateManagerPlugin::CertificateManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&,
                                                   PluginRegistrar&) {}

}  // namespace vanta
