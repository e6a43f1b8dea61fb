#include "plugins/avatar_plugin.h"

namespace vanta {

AvatarPlugin::AvatarPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                           PluginRegistrar&) {}

}  // namespace vanta
