#include "clients/featuremanager/featuremanager_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
const std::string kServiceName = "FeatureManager";
const std::string kAddress = "unix:/tmp/featuremanager_service";
using Stub = featuremanager::FeatureManager::Stub;

featuremanager::FeatureInfoRequest feature(const std::string& name) {
    featuremanager::FeatureInfoRequest request;
    request.set_feature_name(name);
    return request;
}
}  // namespace

FeatureManagerClientImpl::FeatureManagerClientImpl(const std::string& address,
                                                   std::chrono::milliseconds timeout,
                                                   logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall FeatureManagerClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<FeatureManagerClient> create_featuremanager_client(
    std::chrono::milliseconds timeout) {
    return std::make_unique<FeatureManagerClientImpl>(kAddress, timeout,
                                                      logging::getLogger("FeatureManagerClient"));
}

}  // namespace vanta
