#include "plugins/phonebook_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

PhonebookPlugin::PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&, PluginRegistrar&) {}

grpc::Status PhonebookPlugin::search(grpc::ServerContext*, const vantaapi::PhonebookSearchRequest*,
                                     vantaapi::PhonebookSearchResponse*) {
    return not_available_yet("PhonebookPlugin::search");
}

}  // namespace vanta
