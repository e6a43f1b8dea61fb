#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "krellconfigmanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::krellconfigmanager {

// The on-premises call-control configuration service: device configuration
// values, TFTP servers, automatic configuration and on-premises upgrades.
// Operations that answer std::optional give nothing when the service could
// not answer; the others raise the GrpcException of a failure.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual KRELLDeviceConfigValues GetKRELLDeviceConfigValues() = 0;
    virtual std::optional<std::vector<std::string>> GetKRELLTFTPAddress() = 0;
    virtual std::optional<KRELLDeviceConfigValue> GetKRELLDeviceConfigValue(
        const std::string& name, const std::string& value) = 0;
    virtual std::optional<bool> SetKRELLAutoConfig(bool enable) = 0;
    virtual void StartOnPremUpgrade() = 0;
    virtual void PostponeOnPremUpgrade(int32_t postpone_seconds) = 0;
};

// A client of the on-premises configuration manager at `endpoint` (the
// catalogue's krellconfigmanager row). The event stream reconnects on
// `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::krellconfigmanager
