#include "plugins/nimbo_status_reporter_plugin.h"

namespace vanta {

NimboStatusReporterPlugin::NimboStatusReporterPlugin(Executor&,
                                                     GrpcServerPublisher<vantaapi::VantaEvent>&,
                                                     PluginRegistrar&) {}

}  // namespace vanta
