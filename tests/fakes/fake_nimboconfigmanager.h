#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "nimboconfigmanager.grpc.pb.h"

namespace vanta::testing {

// The cloud configuration service : scripted replies, recorded requests, and its event stream.
class FakeNimboConfigManager final : public nimboconfigmanager::Configuration::Service,
                                     public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetSharedAccountInfo, nimboconfigmanager::AccountInfoRequest,
                             nimboconfigmanager::AccountInfo)
    VANTA_SCRIPTED_OPERATION(GetServiceMap, google::protobuf::Empty, nimboconfigmanager::ServiceMap)
    VANTA_SCRIPTED_OPERATION(GetPairingId, google::protobuf::Empty, nimboconfigmanager::PairingId)
    VANTA_FAKE_EVENT_STREAM(nimboconfigmanager::Event, nimboconfigmanager::SubscriptionRequest)
};

}  // namespace vanta::testing
