#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "nimboconfigmanager.grpc.pb.h"

namespace vanta::testing {

// The cloud configuration service (its unary operations): scripted replies, recorded requests.
class FakeNimboConfigManager final : public nimboconfigmanager::Configuration::Service,
                                     public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetSharedAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetServiceMap, google::protobuf::Empty, nimboconfigmanager::ServiceMap)
    VANTA_SCRIPTED_OPERATION(GetPairingId, google::protobuf::Empty, nimboconfigmanager::PairingId)
};

}  // namespace vanta::testing
