#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>
#include <grpcpp/support/server_interceptor.h>

namespace vanta::sim {

// Serves one or more in-process backend services on an address (a device
// socket in the simulator, a temporary Unix socket in tests) until destroyed.
class BackendServer {
  public:
    BackendServer(const std::string& address, std::initializer_list<grpc::Service*> services)
        : BackendServer(std::vector<std::string>{address}, services) {}

    using Interceptors =
        std::vector<std::unique_ptr<grpc::experimental::ServerInterceptorFactoryInterface>>;

    // The same services on several addresses at once, every call passing
    // `interceptors` first.
    BackendServer(const std::vector<std::string>& addresses,
                  std::initializer_list<grpc::Service*> services, Interceptors interceptors = {}) {
        grpc::ServerBuilder builder;
        builder.experimental().SetInterceptorCreators(std::move(interceptors));
        for (const auto& address : addresses) {
            builder.AddListeningPort(address, grpc::InsecureServerCredentials());
        }
        for (grpc::Service* service : services) {
            builder.RegisterService(service);
        }
        server_ = builder.BuildAndStart();
        if (!server_) {
            throw std::runtime_error("cannot listen on " + addresses.front());
        }
    }
    ~BackendServer() { shutdown(); }
    BackendServer(const BackendServer&) = delete;
    BackendServer& operator=(const BackendServer&) = delete;

    void shutdown() {
        if (server_) {
            server_->Shutdown(std::chrono::system_clock::now() + std::chrono::milliseconds(500));
            server_->Wait();
            server_.reset();
        }
    }

  private:
    std::unique_ptr<grpc::Server> server_;
};

}  // namespace vanta::sim
