#include "plugins/account_manager_plugin.h"

namespace vanta {

AccountManagerPlugin::AccountManagerPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                           PluginRegistrar&) {}

}  // namespace vanta
