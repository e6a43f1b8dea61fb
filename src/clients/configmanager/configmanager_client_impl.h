#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/configmanager/configmanager_client.h"
#include "configmanager.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::configmanager {

class ClientImpl final
    : public clients::ObservableClient<Configuration, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    std::string GetLocale() override;
    bool SetLocale(const std::string& language) override;
    TimezoneData GetTimezone() override;
    bool SetTimezone(const std::string& timezone, const std::string& date_template) override;
    GeoServiceInfoData GetGeoServiceInfo() override;
    bool GetGuiSettingsEnabled() override;
    std::vector<std::string> GetRingToneList() override;
    std::string GetRingTone() override;
    bool SetRingTone(const std::string& name) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::configmanager
