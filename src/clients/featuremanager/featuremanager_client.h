#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "featuremanager.pb.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta {

// The feature manager: the device's feature switches. Every operation gives
// nothing when the feature manager could not be reached or could not serve the
// call (the failure is logged as "<Op> request failed, ..."), and raises
// std::runtime_error for any other failure.
class FeatureManagerClient : public GrpcClientBase {
  public:
    virtual std::optional<featuremanager::RequestResult> EnableFeature(
        const std::string& feature_name) = 0;
    virtual std::optional<featuremanager::RequestResult> DisableFeature(
        const std::string& feature_name) = 0;
    virtual std::optional<featuremanager::FeatureInfo> GetFeatureInfo(
        const std::string& feature_name) = 0;
    virtual std::optional<featuremanager::AllFeatures> GetAllFeatures() = 0;
};

// A client of "unix:/tmp/featuremanager_service"; every call has the deadline
// `timeout`.
std::unique_ptr<FeatureManagerClient> create_featuremanager_client(
    std::chrono::milliseconds timeout);

}  // namespace vanta
