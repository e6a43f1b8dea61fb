#pragma once

// The floor for any synchronous-server hop: a gRPC sync server whose
// SetVolume handler only forwards the call to the volume manager and returns
// its answer. No executor, no logging, no error mapping.

#include <memory>
#include <stdexcept>
#include <string>

#include <grpcpp/grpcpp.h>

#include "vantaapi.grpc.pb.h"
#include "volumemgr.grpc.pb.h"

namespace vanta::bench {

class MinimalForwardingProxy final : public vantaapi::VantaApi::Service {
  public:
    MinimalForwardingProxy(const std::string& address, const std::string& backend_address)
        : backend_(vanta::volumemgr::VolumeMgr::NewStub(
              grpc::CreateChannel(backend_address, grpc::InsecureChannelCredentials()))) {
        grpc::ServerBuilder builder;
        builder.AddListeningPort(address, grpc::InsecureServerCredentials());
        builder.RegisterService(this);
        server_ = builder.BuildAndStart();
        if (!server_) {
            throw std::runtime_error("cannot listen on " + address);
        }
    }
    ~MinimalForwardingProxy() override { server_->Shutdown(); }
    MinimalForwardingProxy(const MinimalForwardingProxy&) = delete;
    MinimalForwardingProxy& operator=(const MinimalForwardingProxy&) = delete;

    grpc::Status SetVolume(grpc::ServerContext*, const vantaapi::VolumeRequest* request,
                           vantaapi::VolumeStatus* answer) override {
        vanta::volumemgr::VolumeRequest forwarded;
        if (request->data_case() == vantaapi::VolumeRequest::kVolume) {
            forwarded.set_volume(request->volume());
        } else if (request->data_case() == vantaapi::VolumeRequest::kVolumeTicks) {
            forwarded.set_volume_ticks(request->volume_ticks());
        }
        grpc::ClientContext context;
        vanta::volumemgr::VolumeStatus status;
        const grpc::Status result = backend_->SetVolume(&context, forwarded, &status);
        answer->set_volume(status.volume());
        return result;
    }

  private:
    std::unique_ptr<vanta::volumemgr::VolumeMgr::Stub> backend_;
    std::unique_ptr<grpc::Server> server_;
};

}  // namespace vanta::bench
