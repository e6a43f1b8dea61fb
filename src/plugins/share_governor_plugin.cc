#include "plugins/share_governor_plugin.h"

namespace vanta {

ShareGovernorPlugin::ShareGovernorPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                         PluginRegistrar&) {}

}  // namespace vanta
