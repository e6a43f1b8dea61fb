#pragma once

#include "fakes/scripted_backend.h"
#include "krellconfigmanager.grpc.pb.h"

namespace vanta::testing {

// The on-premises configuration service (its unary operations): scripted replies, recorded
// requests.
class FakeKrellConfigManager final : public krellconfigmanager::KrellConfigManager::Service,
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
};

}  // namespace vanta::testing
