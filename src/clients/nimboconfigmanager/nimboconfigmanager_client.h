#pragma once

#include <memory>
#include <optional>
#include <string>

#include "nimboconfigmanager.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nimboconfigmanager {

// The cloud configuration service: the device's account, the cloud service
// map and the pairing id. Operations that answer std::optional give nothing
// when the service could not answer; GetPairingId raises the GrpcException of
// a failure.
class Client : public GrpcClientBase {
  public:
    virtual std::optional<AccountInfo> GetAccountInfo() = 0;
    virtual std::optional<AccountInfo> GetSharedAccountInfo() = 0;
    virtual std::optional<ServiceMap> GetServiceMap() = 0;
    virtual std::string GetPairingId() = 0;
};

}  // namespace vanta::nimboconfigmanager

namespace vanta {

// A client of "unix:/tmp/nimboconfigmanager_service". The executor will carry
// the service's event stream.
std::unique_ptr<nimboconfigmanager::Client> create_nimboconfigmanager_client(Executor& executor);

}  // namespace vanta
