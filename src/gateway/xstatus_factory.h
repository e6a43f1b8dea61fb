#pragma once

#include <memory>
#include <vector>

#include "gateway/vantaapi_client.h"
#include "gateway/zapi.h"

namespace vanta::zapi {

// The gateway's statuses, in the order they are looked up and listed, all
// working through `client`.
std::vector<std::shared_ptr<const Zapi>> statuses(const std::shared_ptr<VantaApiClient>& client);

}  // namespace vanta::zapi
