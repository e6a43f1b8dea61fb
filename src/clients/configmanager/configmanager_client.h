#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "configmanager.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::configmanager {

// The device configuration service: language, time zone, geographic
// service information, settings-menu access and ring tones. Each operation
// raises the GrpcException of a failure.
class Client : public GrpcClientBase {
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

// A client of `address` ("unix:/tmp/configmanager") whose calls last at most
// `timeout`. The executor will carry the service's event stream.
std::unique_ptr<Client> create_client(Executor& executor, const std::string& address,
                                      std::chrono::milliseconds timeout);

}  // namespace vanta::configmanager
