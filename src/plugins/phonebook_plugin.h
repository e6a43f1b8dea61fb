#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/phonebook/phonebook_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Directory search in the phone book.
class PhonebookPlugin {
  public:
    // The client talks to `phonebook`, the catalogue's row of that name.
    PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar,
                    const Endpoint& phonebook = device_endpoints().phonebook);
    PhonebookPlugin(const PhonebookPlugin&) = delete;
    PhonebookPlugin& operator=(const PhonebookPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status search(grpc::ServerContext* context,
                        const vantaapi::PhonebookSearchRequest* request,
                        vantaapi::PhonebookSearchResponse* response);

  private:
    std::unique_ptr<phonebook::Client> client_;
};

}  // namespace vanta
