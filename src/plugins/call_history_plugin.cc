#include "plugins/call_history_plugin.h"

namespace vanta {

CallHistoryPlugin::CallHistoryPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                     PluginRegistrar&) {}

}  // namespace vanta
