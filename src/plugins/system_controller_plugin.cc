#include "plugins/system_controller_plugin.h"

namespace vanta {

SystemControllerPlugin::SystemControllerPlugin(Executor&,
                                               GrpcServerPublisher<vantaapi::VantaEvent>&,
                                               PluginRegistrar&) {}

}  // namespace vanta
