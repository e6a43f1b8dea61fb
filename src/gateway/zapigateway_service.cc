#include "gateway/zapigateway_service.h"

#include <chrono>

#include <nlohmann/json.hpp>

#include "gateway/xcommand_factory.h"
#include "gateway/xstatus_factory.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_sync_server.h"
#include "runtime/logging/loggers.h"

namespace vanta::zapigateway {

using nlohmann::json;

namespace {

constexpr std::chrono::milliseconds kVantaApiClientTimeout{1000};
constexpr std::chrono::milliseconds kShutdownTimeout{1000};

// The member that every error answer of the gateway carries.
const json kDefaultStatusCode = {"statusCode", 500};

const zapi::Zapi* find(const std::vector<std::shared_ptr<const zapi::Zapi>>& list,
                       const std::string& path) {
    for (const auto& zapi : list) {
        if (zapi->path() == path) {
            return zapi.get();
        }
    }
    return nullptr;
}

std::string schema_listing(const std::vector<std::shared_ptr<const zapi::Zapi>>& list) {
    json listing;
    for (const auto& zapi : list) {
        listing.emplace(zapi->path(), zapi->schema());
    }
    return listing.dump();
}

}  // namespace

ServiceImpl::ServiceImpl(Executor& executor, std::shared_ptr<VantaApiClient> client)
    : logger_(logging::getLogger("ZapigatewayService")),
      executor_(executor),
      client_(std::move(client)),
      commands_(zapi::commands(client_)),
      statuses_(zapi::statuses(client_)) {}

grpc::Status ServiceImpl::Command(grpc::ServerContext* /*context*/, const ZapiMessage* request,
                                  ZapiResponse* response) {
    logger_.info("Zapi {} path:{}, payload:{}", "Command", request->path(), request->payload());
    const zapi::Zapi* command = find(commands_, request->path());
    const json answer = command != nullptr
                            ? command->invoke(json::parse(request->payload()))
                            : json::object({kDefaultStatusCode, {"result", nullptr}});
    response->set_payload(answer.dump());
    return grpc::Status::OK;
}

grpc::Status ServiceImpl::Status(grpc::ServerContext* /*context*/, const ZapiMessage* request,
                                 ZapiResponse* response) {
    logger_.info("Zapi {} path:{}", "Status", request->path());
    const zapi::Zapi* status = find(statuses_, request->path());
    const json answer = status != nullptr
                            ? status->invoke(json(""))
                            : json::object({{"error", json::object({kDefaultStatusCode})}});
    response->set_payload(answer.dump());
    return grpc::Status::OK;
}

grpc::Status ServiceImpl::GetCommandSchemas(grpc::ServerContext* /*context*/,
                                            const google::protobuf::Empty* /*request*/,
                                            ZapiSchemas* response) {
    response->set_schemas(schema_listing(commands_));
    return grpc::Status::OK;
}

grpc::Status ServiceImpl::GetStatusSchemas(grpc::ServerContext* /*context*/,
                                           const google::protobuf::Empty* /*request*/,
                                           ZapiSchemas* response) {
    response->set_schemas(schema_listing(statuses_));
    return grpc::Status::OK;
}

std::unique_ptr<GrpcServer> create_service(Executor& executor, const std::string& address) {
    return std::make_unique<GrpcSyncServer>(
        std::make_unique<ServiceImpl>(
            executor,
            create_vantaapi_client(device_endpoints().vantaapi.address, kVantaApiClientTimeout)),
        address, kShutdownTimeout);
}

}  // namespace vanta::zapigateway
