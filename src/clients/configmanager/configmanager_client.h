#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "configmanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::configmanager {

// The device configuration service: language, time zone, geographic
// service information, settings-menu access and ring tones. Each operation
// raises the GrpcException of a failure.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual std::string GetLocale() = 0;
    virtual bool SetLocale(const std::string& language) = 0;
    virtual TimezoneData GetTimezone() = 0;
    virtual bool SetTimezone(const std::string& timezone, const std::string& date_template) = 0;
    virtual GeoServiceInfoData GetGeoServiceInfo() = 0;
    virtual bool GetGuiSettingsEnabled() = 0;
    virtual std::vector<std::string> GetRingToneList() = 0;
    virtual std::string GetRingTone() = 0;
    virtual bool SetRingTone(const std::string& name) = 0;
};

// A client of the configuration manager at `endpoint` (the catalogue's
// configmanager row). The event stream reconnects on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::configmanager
