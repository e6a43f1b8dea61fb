#pragma once

#include <string>

#include <google/protobuf/empty.pb.h>

#include "reset.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The reset service: a simulated device carries out every reset, shutdown
// and network restart it is asked for (nothing goes down). A scripted reply
// or failure overrides this.
class ResetBackend final : public vanta::reset::Reset::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using Response = vanta::reset::Response;

  public:
    grpc::Status FactoryReset(grpc::ServerContext* context, const Empty* request,
                              Response* response) override {
        return carry_out(*context, "FactoryReset", *request, response);
    }
    grpc::Status RequestFactoryReset(grpc::ServerContext* context, const Empty* request,
                                     Response* response) override {
        return carry_out(*context, "RequestFactoryReset", *request, response);
    }
    grpc::Status Shutdown(grpc::ServerContext* context, const Empty* request,
                          Response* response) override {
        return carry_out(*context, "Shutdown", *request, response);
    }
    grpc::Status RestartNetwork(grpc::ServerContext* context, const Empty* request,
                                Response* response) override {
        return carry_out(*context, "RestartNetwork", *request, response);
    }

  private:
    grpc::Status carry_out(const grpc::ServerContext& context, const std::string& operation,
                           const Empty& request, Response* response) {
        return answer(context, operation, request, response, [&] {
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
};

}  // namespace vanta::sim
