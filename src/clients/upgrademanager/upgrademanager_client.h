#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"
#include "upgrademanager.pb.h"

namespace vanta::upgrademanager {

// The upgrade manager: software version, upgrade channel and state, downloads
// and local packages. Every operation raises the typed error of a failed call
// (GrpcException family).
class UpgradeManagerClient : public GrpcClientBase {
  public:
    // The installed software version.
    virtual std::string GetVersionInfo() = 0;
    // The upgrade channel the device follows.
    virtual std::string GetUpgradeInfo() = 0;
    virtual UpgradeState::code GetUpgradeState() = 0;
    // Whether the upgrade manager took the package file.
    virtual bool InstallLocalPackage(const std::string& package_file_name) = 0;
    virtual void StartDownload() = 0;
    virtual void PostponeDownload(int32_t postpone_seconds) = 0;
    virtual void SetUpgradeLimitHour(int32_t upgrade_limit_hour) = 0;
    virtual void SetUpgradeChannel(const std::string& channel) = 0;
};

// A client of the upgrade manager at `endpoint` (the catalogue's upgrademanager
// row; installing can take minutes).
std::unique_ptr<UpgradeManagerClient> create_upgrademanager_client(const Endpoint& endpoint);

}  // namespace vanta::upgrademanager
