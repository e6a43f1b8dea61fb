#include "plugins/phonebook_plugin.h"

namespace vanta {

PhonebookPlugin::PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&, PluginRegistrar&) {}

}  // namespace vanta
