#pragma once

#include <google/protobuf/empty.pb.h>

#include "sim/scripted_backend.h"
#include "wifi.grpc.pb.h"

namespace vanta::sim {

// The Wi-Fi service: scripted replies, recorded requests.
class WifiBackend final : public wifi::Wifi::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(Enable, wifi::Empty, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(Disable, wifi::Empty, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(IsEnabled, wifi::Empty, wifi::WifiEnabled)
    VANTA_SCRIPTED_OPERATION(SetConfig, wifi::ConfigInfo, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetConfig, wifi::Empty, wifi::Configuration)
    VANTA_SCRIPTED_OPERATION(ClearConfig, wifi::Empty, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetStatus, wifi::Empty, wifi::WifiStatus)
    VANTA_SCRIPTED_OPERATION(GetSupplicantStatus, wifi::Empty, wifi::SupplicantStatus)
    VANTA_SCRIPTED_OPERATION(GetNetworkList, wifi::Empty, wifi::NetworkList)
    VANTA_SCRIPTED_OPERATION(GetStatistics, wifi::Empty, wifi::WifiStatistics)
    VANTA_SCRIPTED_OPERATION(StartScan, google::protobuf::Empty, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(StopScan, google::protobuf::Empty, wifi::RequestStatus)
    VANTA_SCRIPTED_OPERATION(IsScanStarted, google::protobuf::Empty, wifi::ScanStarted)
};

}  // namespace vanta::sim
