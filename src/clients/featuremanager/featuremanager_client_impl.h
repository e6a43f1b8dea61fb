#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/featuremanager/featuremanager_client.h"
#include "featuremanager.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta {

class FeatureManagerClientImpl final
    : public GrpcClient<featuremanager::FeatureManager, FeatureManagerClient> {
  public:
    FeatureManagerClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    std::optional<featuremanager::RequestResult> EnableFeature(
        const std::string& feature_name) override;
    std::optional<featuremanager::RequestResult> DisableFeature(
        const std::string& feature_name) override;
    std::optional<featuremanager::FeatureInfo> GetFeatureInfo(
        const std::string& feature_name) override;
    std::optional<featuremanager::AllFeatures> GetAllFeatures() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
