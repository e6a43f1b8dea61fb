#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clients/common/observing_client.h"
#include "clients/configmanager/configmanager_client.h"
#include "configmanager.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::configmanager {

class ClientImpl final
    : public clients::ObservingClient<Configuration, Client, SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

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
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::configmanager
