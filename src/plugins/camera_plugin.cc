#include "plugins/camera_plugin.h"

namespace vanta {

CameraPlugin::CameraPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                           PluginRegistrar&) {}

}  // namespace vanta
