#include "plugins/nfc_plugin.h"

namespace vanta {

NfcPlugin::NfcPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&, PluginRegistrar&) {}

}  // namespace vanta
