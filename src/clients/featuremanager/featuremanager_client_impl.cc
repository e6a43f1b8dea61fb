#include "clients/featuremanager/featuremanager_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
using Stub = featuremanager::FeatureManager::Stub;

featuremanager::FeatureInfoRequest feature(const std::string& name) {
    featuremanager::FeatureInfoRequest request;
    request.set_feature_name(name);
    return request;
}
}  // namespace

FeatureManagerClientImpl::FeatureManagerClientImpl(const Endpoint& endpoint,
                                                   logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall FeatureManagerClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

std::optional<featuremanager::RequestResult> FeatureManagerClientImpl::EnableFeature(
    const std::string& feature_name) {
    return clients::call_or_empty(stub(), &Stub::EnableFeature, feature(feature_name),
                                  call("EnableFeature"));
}

std::optional<featuremanager::RequestResult> FeatureManagerClientImpl::DisableFeature(
    const std::string& feature_name) {
    return clients::call_or_empty(stub(), &Stub::DisableFeature, feature(feature_name),
                                  call("DisableFeature"));
}

std::optional<featuremanager::FeatureInfo> FeatureManagerClientImpl::GetFeatureInfo(
    const std::string& feature_name) {
    return clients::call_or_empty(stub(), &Stub::GetFeatureInfo, feature(feature_name),
                                  call("GetFeatureInfo"));
}

std::optional<featuremanager::AllFeatures> FeatureManagerClientImpl::GetAllFeatures() {
    return clients::call_or_empty(stub(), &Stub::GetAllFeatures, featuremanager::Empty(),
                                  call("GetAllFeatures"));
}

std::unique_ptr<FeatureManagerClient> create_featuremanager_client(const Endpoint& endpoint) {
    return std::make_unique<FeatureManagerClientImpl>(endpoint,
                                                      logging::getLogger("FeatureManagerClient"));
}

}  // namespace vanta
