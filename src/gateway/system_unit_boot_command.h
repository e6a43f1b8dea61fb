#pragma once

#include "gateway/zapi.h"

namespace vanta::zapi {

// "SystemUnit.Boot": asks the device to restart, forced when the argument
// "Force" is the text "True". "Action" is accepted but a restart is all the
// device offers.
class SystemUnitBootCommand final : public XCommand {
  public:
    explicit SystemUnitBootCommand(std::shared_ptr<VantaApiClient> client)
        : XCommand(std::move(client)) {}

    std::string path() const override { return "SystemUnit.Boot"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

}  // namespace vanta::zapi
