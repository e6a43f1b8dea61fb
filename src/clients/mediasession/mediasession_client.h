#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "mediasession.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::mediasession {

// The media session service, for the operations the API forwards to it: the
// remote video streams the device receives. Each operation raises the
// GrpcException of a failure.
class Client : public GrpcClientBase {
  public:
    virtual bool SubscribeRemoteVideo(const SubRemoteVideo& request) = 0;
    virtual bool UnSubscribeRemoteVideo(const std::vector<uint32_t>& virtual_ids) = 0;
};

}  // namespace vanta::mediasession

namespace vanta {

// A client of the media session at `endpoint` (the catalogue's mediasession
// row: the registry's address for it first, else its socket). The executor,
// when given, will carry the service's event stream.
std::unique_ptr<mediasession::Client> create_mediasession_client(
    std::optional<std::reference_wrapper<Executor>> executor, const Endpoint& endpoint);

}  // namespace vanta
