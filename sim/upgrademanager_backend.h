#pragma once

#include "sim/scripted_backend.h"
#include "upgrademanager.grpc.pb.h"

namespace vanta::sim {

// The upgrade manager.
class UpgradeManagerBackend final : public vanta::upgrademanager::UpgradeManager::Service,
                                    public ScriptedBackend {
    using Request = vanta::upgrademanager::Request;
    using Response = vanta::upgrademanager::Response;

  public:
    VANTA_SCRIPTED_OPERATION(GetUpgradeInfo, Request, vanta::upgrademanager::UpgradeInfo)
    VANTA_SCRIPTED_OPERATION(GetUpgradeState, Request, vanta::upgrademanager::UpgradeState)
    VANTA_SCRIPTED_OPERATION(SetUpgradeChannel, vanta::upgrademanager::UpgradeInfo, Response)
    VANTA_SCRIPTED_OPERATION(SetUpgradeLimitHour, vanta::upgrademanager::UpgradeLimitHour, Response)
    VANTA_SCRIPTED_OPERATION(GetVersionInfo, Request, vanta::upgrademanager::VersionInfo)
    VANTA_SCRIPTED_OPERATION(InstallLocalPackage, vanta::upgrademanager::InstallLocalPackageRequest,
                             vanta::upgrademanager::InstallLocalPackageStatus)
    VANTA_SCRIPTED_OPERATION(StartDownload, Request, Response)
    VANTA_SCRIPTED_OPERATION(PostponeDownload, vanta::upgrademanager::PostponeDownloadRequest,
                             Response)
};

}  // namespace vanta::sim
