#pragma once

#include "gateway/zapi.h"

namespace vanta::zapi {

// "Bookings.List": the room's bookings with their organizers and times (UTC,
// "%FT%T%z"). The paging arguments of the schema are accepted and not used;
// a calendar that cannot be read lists no bookings.
class BookingsListCommand final : public XCommand {
  public:
    explicit BookingsListCommand(std::shared_ptr<VantaApiClient> client)
        : XCommand(std::move(client)) {}

    std::string path() const override { return "Bookings.List"; }
    nlohmann::json schema() const override;
    nlohmann::json invoke(const nlohmann::json& arguments) const override;
};

}  // namespace vanta::zapi
