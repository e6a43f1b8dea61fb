#include "plugins/nimbo_branding_plugin.h"

namespace vanta {

NimboBrandingPlugin::NimboBrandingPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                         PluginRegistrar&) {}

}  // namespace vanta
