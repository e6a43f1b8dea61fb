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
    auto service = std::make_unique<VantaApiImpl>(executor, endpoints);
    VantaApiImpl* const api = service.get();
    // Subscribe streams last until their client leaves: they are ended at
    // once rather than at the end of the shutdown timeout.
    return std::make_unique<GrpcSyncServer>(std::move(service), address, kShutdownTimeout,
                                            [api] { api->end_streams(); });
}

}  // namespace vanta
