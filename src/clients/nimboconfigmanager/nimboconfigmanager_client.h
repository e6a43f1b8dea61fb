#pragma once

#include <memory>
#include <optional>
#include <string>

#include "nimboconfigmanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nimboconfigmanager {

// The cloud configuration service: the device's account, the cloud service
// map and the pairing id. Operations that answer std::optional give nothing
// when the service could not answer; GetPairingId raises the GrpcException of
// a failure.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual std::optional<AccountInfo> GetAccountInfo() = 0;
    virtual std::optional<AccountInfo> GetSharedAccountInfo() = 0;
    virtual std::optional<ServiceMap> GetServiceMap() = 0;
    virtual std::string GetPairingId() = 0;
};

}  // namespace vanta::nimboconfigmanager

namespace vanta {

// A client of the cloud configuration service at `endpoint` (the catalogue's
// nimboconfigmanager row). The event stream reconnects on `executor`.
std::unique_ptr<nimboconfigmanager::Client> create_nimboconfigmanager_client(
    Executor& executor, const Endpoint& endpoint);

}  // namespace vanta
