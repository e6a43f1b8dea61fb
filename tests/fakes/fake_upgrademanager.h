#pragma once

#include "fakes/fake_backend.h"
#include "upgrademanager.grpc.pb.h"

namespace vanta::testing {

// The upgrade manager.
class FakeUpgradeManager final : public vanta::upgrademanager::UpgradeManager::Service,
                                 public FakeBackend {
    using Request = vanta::upgrademanager::Request;
    using Response = vanta::upgrademanager::Response;

  public:
    VANTA_FAKE_OPERATION(GetUpgradeInfo, Request, vanta::upgrademanager::UpgradeInfo)
    VANTA_FAKE_OPERATION(GetUpgradeState, Request, vanta::upgrademanager::UpgradeState)
    VANTA_FAKE_OPERATION(SetUpgradeChannel, vanta::upgrademanager::UpgradeInfo, Response)
    VANTA_FAKE_OPERATION(SetUpgradeLimitHour, vanta::upgrademanager::UpgradeLimitHour, Response)
    VANTA_FAKE_OPERATION(GetVersionInfo, Request, vanta::upgrademanager::VersionInfo)
    VANTA_FAKE_OPERATION(InstallLocalPackage, vanta::upgrademanager::InstallLocalPackageRequest,
                         vanta::upgrademanager::InstallLocalPackageStatus)
    VANTA_FAKE_OPERATION(StartDownload, Request, Response)
    VANTA_FAKE_OPERATION(PostponeDownload, vanta::upgrademanager::PostponeDownloadRequest, Response)
};

}  // namespace vanta::testing
