#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "krellconfigmanager.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::krellconfigmanager {

// The on-premises call-control configuration service: device configuration
// values, TFTP servers, automatic configuration and on-premises upgrades.
// Operations that answer std::optional give nothing when the service could
// not answer; the others raise the GrpcException of a failure.
class Client : public GrpcClientBase {
  public:
    virtual KRELLDeviceConfigValues GetKRELLDeviceConfigValues() = 0;
    virtual std::optional<std::vector<std::string>> GetKRELLTFTPAddress() = 0;
    virtual std::optional<KRELLDeviceConfigValue> GetKRELLDeviceConfigValue(
        const std::string& name, const std::string& value) = 0;
    virtual std::optional<bool> SetKRELLAutoConfig(bool enable) = 0;
    virtual void StartOnPremUpgrade() = 0;
    virtual void PostponeOnPremUpgrade(int32_t postpone_seconds) = 0;
};

// A client of `address` ("unix:/tmp/krellconfigmanager") whose calls last at
// most `timeout`. The executor will carry the service's event stream.
std::unique_ptr<Client> create_client(Executor& executor, const std::string& address,
                                      std::chrono::milliseconds timeout);

}  // namespace vanta::krellconfigmanager
