#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

namespace vanta::testing {

// Serves one or more in-process fake services on an address (a temporary Unix
// socket in tests) until destroyed.
class TestServer {
  public:
    TestServer(const std::string& address, std::initializer_list<grpc::Service*> services)
        : TestServer(std::vector<std::string>{address}, services) {}

    // The same services on several addresses at once.
    TestServer(const std::vector<std::string>& addresses,
               std::initializer_list<grpc::Service*> services) {
        grpc::ServerBuilder builder;
        for (const auto& address : addresses) {
            builder.AddListeningPort(address, grpc::InsecureServerCredentials());
        }
        for (grpc::Service* service : services) {
            builder.RegisterService(service);
        }
        server_ = builder.BuildAndStart();
        if (!server_) {
            throw std::runtime_error("test server cannot listen on " + addresses.front());
        }
    }
    ~TestServer() { shutdown(); }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

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

}  // namespace vanta::testing
