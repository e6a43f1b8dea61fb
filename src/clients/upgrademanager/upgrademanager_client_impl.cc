#include "clients/upgrademanager/upgrademanager_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta::upgrademanager {

namespace {
using Stub = UpgradeManager::Stub;
}  // namespace

UpgradeManagerClientImpl::UpgradeManagerClientImpl(const Endpoint& endpoint,
                                                   logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall UpgradeManagerClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

std::string UpgradeManagerClientImpl::GetVersionInfo() {
    return clients::call_or_throw(stub(), &Stub::GetVersionInfo, Request(), call("GetVersionInfo"))
        .version();
}

std::string UpgradeManagerClientImpl::GetUpgradeInfo() {
    return clients::call_or_throw(stub(), &Stub::GetUpgradeInfo, Request(), call("GetUpgradeInfo"))
        .channel();
}

UpgradeState::code UpgradeManagerClientImpl::GetUpgradeState() {
    return clients::call_or_throw(stub(), &Stub::GetUpgradeState, Request(),
                                  call("GetUpgradeState"))
        .state();
}

bool UpgradeManagerClientImpl::InstallLocalPackage(const std::string& package_file_name) {
    InstallLocalPackageRequest request;
    request.set_package_file_name(package_file_name);
    return clients::call_or_throw(stub(), &Stub::InstallLocalPackage, request,
                                  call("InstallLocalPackage"))
        .status();
}

void UpgradeManagerClientImpl::StartDownload() {
    clients::call_or_throw(stub(), &Stub::StartDownload, Request(), call("StartDownload"));
}

void UpgradeManagerClientImpl::PostponeDownload(int32_t postpone_seconds) {
    PostponeDownloadRequest request;
    request.set_postpone_seconds(postpone_seconds);
    clients::call_or_throw(stub(), &Stub::PostponeDownload, request, call("PostponeDownload"));
}

void UpgradeManagerClientImpl::SetUpgradeLimitHour(int32_t upgrade_limit_hour) {
    UpgradeLimitHour request;
    request.set_upgrade_limit_hour(upgrade_limit_hour);
    clients::call_or_throw(stub(), &Stub::SetUpgradeLimitHour, request,
                           call("SetUpgradeLimitHour"));
}

void UpgradeManagerClientImpl::SetUpgradeChannel(const std::string& channel) {
    UpgradeInfo request;
    request.set_channel(channel);
    clients::call_or_throw(stub(), &Stub::SetUpgradeChannel, request, call("SetUpgradeChannel"));
}

std::unique_ptr<UpgradeManagerClient> create_upgrademanager_client(const Endpoint& endpoint) {
    return std::make_unique<UpgradeManagerClientImpl>(endpoint,
                                                      logging::getLogger("UpgradeManagerClient"));
}

}  // namespace vanta::upgrademanager
