#pragma once

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "krellconfigmanager.grpc.pb.h"

namespace vanta::testing {

// The on-premises configuration service (scripted replies, recorded requests) and its
// event stream.
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
    VANTA_FAKE_EVENT_STREAM(krellconfigmanager::Event, krellconfigmanager::SubscriptionRequest)
};

}  // namespace vanta::testing
