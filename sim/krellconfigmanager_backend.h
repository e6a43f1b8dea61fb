#pragma once

#include "krellconfigmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The on-premises configuration service (scripted replies, recorded requests) and its
// event stream.
class KrellConfigManagerBackend final : public krellconfigmanager::KrellConfigManager::Service,
                                        public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetKRELLDeviceConfigValues, krellconfigmanager::Empty,
                             krellconfigmanager::KRELLDeviceConfigValues)
    VANTA_SCRIPTED_OPERATION(GetKRELLDeviceConfigValue,
                             krellconfigmanager::KRELLDeviceConfigRequest,
                             krellconfigmanager::KRELLDeviceConfigValue)
    VANTA_SCRIPTED_OPERATION(GetKRELLTFTPAddress, krellconfigmanager::Empty,
                             krellconfigmanager::KRELLTFTPAddress)
    VANTA_SCRIPTED_OPERATION(SetKRELLAutoConfig, krellconfigmanager::KRELLAutoConfig,
                             krellconfigmanager::KRELLAutoConfigResult)
    VANTA_SCRIPTED_OPERATION(StartOnPremUpgrade, krellconfigmanager::Empty,
                             krellconfigmanager::Empty)
    VANTA_SCRIPTED_OPERATION(PostponeOnPremUpgrade,
                             krellconfigmanager::PostponeOnPremUpgradeRequest,
                             krellconfigmanager::Empty)
    VANTA_SIM_EVENT_STREAM(krellconfigmanager::Event, krellconfigmanager::SubscriptionRequest)
};

}  // namespace vanta::sim
