#include "plugins/configuration_plugin.h"

namespace vanta {

ConfigurationPlugin::ConfigurationPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                         PluginRegistrar&) {}

}  // namespace vanta
