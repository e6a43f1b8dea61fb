#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <grpcpp/impl/service_type.h>
#include <grpcpp/server.h>

#include "rpc/server/grpc_server.h"

namespace vanta {

// Serves one service on gRPC's synchronous server, together with gRPC's server
// reflection and the standard health service (every service SERVING while it
// runs, NOT_SERVING from the start of destruction). Requests run on gRPC's own
// threads; the host keeps one thread blocked in the server's Wait().
//
// Threading: construct, run and destroy from one thread (the main thread).
// Destruction refuses new calls at once and cancels calls still open when the
// shutdown timeout has passed, so it returns within about that timeout as long
// as the service's handlers end when their call is cancelled.
class GrpcSyncServer final : public GrpcServer {
  public:
    // Throws std::runtime_error if `address` contains white space, and
    // std::invalid_argument without a service.
    // `before_shutdown`, when given, runs at the start of destruction, before
    // the server waits for its open calls: the service ends there the calls
    // that would not end by themselves (streams).
    GrpcSyncServer(std::unique_ptr<grpc::Service> service, std::string address,
                   std::chrono::milliseconds shutdown_timeout,
                   std::function<void()> before_shutdown = {});
    ~GrpcSyncServer() override;
    GrpcSyncServer(const GrpcSyncServer&) = delete;
    GrpcSyncServer& operator=(const GrpcSyncServer&) = delete;

    void run(AccessLevel level) override;

  private:
    bool started_ = false;
    std::unique_ptr<grpc::Service> service_;
    std::unique_ptr<grpc::Server> server_;
    std::thread wait_thread_;
    std::string address_;
    std::chrono::milliseconds shutdown_timeout_;
    std::function<void()> before_shutdown_;
};

}  // namespace vanta
