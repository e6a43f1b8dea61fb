#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "clients/common/unary_call.h"
#include "clients/mediasession/mediasession_client.h"
#include "mediasession.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::mediasession {

class ClientImpl final : public GrpcClient<MediaSession, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    bool SubscribeRemoteVideo(const SubRemoteVideo& request) override;
    bool UnSubscribeRemoteVideo(const std::vector<uint32_t>& virtual_ids) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::mediasession
