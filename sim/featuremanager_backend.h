#pragma once

#include "featuremanager.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The feature manager.
class FeatureManagerBackend final : public vanta::featuremanager::FeatureManager::Service,
                                    public ScriptedBackend {
    using FeatureInfoRequest = vanta::featuremanager::FeatureInfoRequest;
    using RequestResult = vanta::featuremanager::RequestResult;

  public:
    VANTA_SCRIPTED_OPERATION(GetFeatureInfo, FeatureInfoRequest, vanta::featuremanager::FeatureInfo)
    VANTA_SCRIPTED_OPERATION(GetAllFeatures, vanta::featuremanager::Empty,
                             vanta::featuremanager::AllFeatures)
    VANTA_SCRIPTED_OPERATION(EnableFeature, FeatureInfoRequest, RequestResult)
    VANTA_SCRIPTED_OPERATION(DisableFeature, FeatureInfoRequest, RequestResult)
};

}  // namespace vanta::sim
