#include "api/vantaapi_service.h"

#include <chrono>

#include "api/vantaapi_impl.h"
#include "rpc/server/grpc_sync_server.h"

namespace vanta {

namespace {
constexpr std::chrono::milliseconds kShutdownTimeout{1000};
}  // namespace

std::unique_ptr<GrpcServer> create_vantaapi_service(Executor& executor,
                                                    const std::string& address) {
    return create_vantaapi_service(executor, address, device_endpoints());
}

std::unique_ptr<GrpcServer> create_vantaapi_service(Executor& executor, const std::string& address,
                                                    const EndpointCatalogue& endpoints) {
    return std::make_unique<GrpcSyncServer>(std::make_unique<VantaApiImpl>(executor, endpoints),
                                            address, kShutdownTimeout);
}

}  // namespace vanta
