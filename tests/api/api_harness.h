#pragma once

// Runs the API service as the daemon does (a main loop over a WaitingExecutor
// on its own thread, the service hosted on "unix:/tmp/vantaapi_service"), and
// gives tests a client and event streams. Used by tests that run in a private
// /tmp, where the fake bus broker listens on the daemon's fixed sockets, or,
// given an address and a catalogue, by tests whose sockets are all their own.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <grpcpp/grpcpp.h>

#include "api/vantaapi_service.h"
#include "event_stream.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/logging/loggers.h"
#include "runtime/main_loop.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

class ApiHarness {
  public:
    ApiHarness() : ApiHarness(kApiAddress, device_endpoints()) {}
    // The service on `address`, calling the backends of `endpoints`.
    ApiHarness(const std::string& address, const EndpointCatalogue& endpoints)
        : executor_(logging::getLogger("vantaapid")), address_(address) {
        host_ = create_vantaapi_service(executor_, address_, endpoints);
        host_->run(GrpcServer::AccessLevel::AllWrite);
        loop_ = std::thread([this] {
            run_main_loop(
                executor_, [this] { return quit_.load(); }, std::chrono::milliseconds(20));
        });
    }
    ~ApiHarness() {
        quit_ = true;
        loop_.join();
        host_.reset();
    }
    ApiHarness(const ApiHarness&) = delete;
    ApiHarness& operator=(const ApiHarness&) = delete;

    std::unique_ptr<vantaapi::VantaApi::Stub> client() const {
        return vantaapi::VantaApi::NewStub(
            grpc::CreateChannel(address_, grpc::InsecureChannelCredentials()));
    }

  private:
    WaitingExecutor executor_;
    const std::string address_;
    std::unique_ptr<GrpcServer> host_;
    std::atomic<bool> quit_{false};
    std::thread loop_;
};

}  // namespace vanta::testing
