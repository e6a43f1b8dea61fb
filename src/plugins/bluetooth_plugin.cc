#include "plugins/bluetooth_plugin.h"

namespace vanta {

BluetoothPlugin::BluetoothPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                 PluginRegistrar&) {}

}  // namespace vanta
