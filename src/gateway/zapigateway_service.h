#pragma once

#include <memory>
#include <string>
#include <vector>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "gateway/vantaapi_client.h"
#include "gateway/zapi.h"
#include "rpc/server/grpc_server.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "zapigateway.grpc.pb.h"

namespace vanta::zapigateway {

// The command gateway: runs the command or status named by a request's
// dotted path (exact match) and lists the schemas of both.
//
// Threading: handlers run on gRPC's threads, several at once; they only read
// the lists, which are filled in the constructor and never change.
class ServiceImpl final : public ZapiGateway::Service {
  public:
    // `executor` is kept for work the gateway may need to queue; the
    // handlers do not use it.
    ServiceImpl(Executor& executor, std::shared_ptr<VantaApiClient> client);

    // Answers the command's JSON; {"result":null,"statusCode":500} for an
    // unknown path. A payload that is not JSON fails the call (UNKNOWN).
    grpc::Status Command(grpc::ServerContext* context, const ZapiMessage* request,
                         ZapiResponse* response) override;
    // Answers the status's JSON; {"error":{"statusCode":500}} for an unknown
    // path. The payload is not read.
    grpc::Status Status(grpc::ServerContext* context, const ZapiMessage* request,
                        ZapiResponse* response) override;
    grpc::Status GetCommandSchemas(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   ZapiSchemas* response) override;
    grpc::Status GetStatusSchemas(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  ZapiSchemas* response) override;

  private:
    using ZapiList = std::vector<std::shared_ptr<const zapi::Zapi>>;

    logging::Logger& logger_;
    Executor& executor_;
    std::shared_ptr<VantaApiClient> client_;
    const ZapiList commands_;
    const ZapiList statuses_;
};

// The gateway's server host on `address`, calling the VantaApi service at the
// catalogue's address ("unix:/tmp/vantaapi_service"); run it to serve. Throws std::runtime_error
// for an address with white space in it.
std::unique_ptr<GrpcServer> create_service(Executor& executor, const std::string& address);

}  // namespace vanta::zapigateway
