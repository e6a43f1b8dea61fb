#pragma once

#include "fakes/fake_backend.h"
#include "featuremanager.grpc.pb.h"

namespace vanta::testing {

// The feature manager.
class FakeFeatureManager final : public vanta::featuremanager::FeatureManager::Service,
                                 public FakeBackend {
    using FeatureInfoRequest = vanta::featuremanager::FeatureInfoRequest;
    using RequestResult = vanta::featuremanager::RequestResult;

  public:
    VANTA_FAKE_OPERATION(GetFeatureInfo, FeatureInfoRequest, vanta::featuremanager::FeatureInfo)
    VANTA_FAKE_OPERATION(GetAllFeatures, vanta::featuremanager::Empty,
                         vanta::featuremanager::AllFeatures)
    VANTA_FAKE_OPERATION(EnableFeature, FeatureInfoRequest, RequestResult)
    VANTA_FAKE_OPERATION(DisableFeature, FeatureInfoRequest, RequestResult)
};

}  // namespace vanta::testing
