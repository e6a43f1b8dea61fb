#pragma once

#include <google/protobuf/empty.pb.h>

#include "nimboconfigmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The cloud configuration service : scripted replies, recorded requests, and its event stream.
class NimboConfigManagerBackend final : public nimboconfigmanager::Configuration::Service,
                                        public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetSharedAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetServiceMap, google::protobuf::Empty, nimboconfigmanager::ServiceMap)
    VANTA_SCRIPTED_OPERATION(GetPairingId, google::protobuf::Empty, nimboconfigmanager::PairingId)
    VANTA_SIM_EVENT_STREAM(nimboconfigmanager::Event, nimboconfigmanager::SubscriptionRequest)
};

}  // namespace vanta::sim
