#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "featuremanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
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

// A client of the feature manager at `endpoint` (the catalogue's featuremanager
// row).
std::unique_ptr<FeatureManagerClient> create_featuremanager_client(const Endpoint& endpoint);

}  // namespace vanta
