#include "plugins/calendar_plugin.h"

namespace vanta {

CalendarPlugin::CalendarPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                               PluginRegistrar&) {}

}  // namespace vanta
