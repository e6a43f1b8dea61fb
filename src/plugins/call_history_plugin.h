#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <memory>

#include "clients/callhistory/call_history_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The list of past calls, from the call-history client; a change of the list
// becomes a `call_history_event` (published on the client's stream thread).
class CallHistoryPlugin {
  public:
    CallHistoryPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    // The same around `client`.
    CallHistoryPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      std::unique_ptr<callhistory::Client> client);
    CallHistoryPlugin(const CallHistoryPlugin&) = delete;
    CallHistoryPlugin& operator=(const CallHistoryPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status list_records(grpc::ServerContext* context,
                              const vantaapi::ListRecordsRequest* request,
                              vantaapi::ListRecordsResponse* response);

  private:
    void handle_event(const callhistory::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<callhistory::Client> client_;
};

}  // namespace vanta
