#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "ieee8021x.grpc.pb.h"

namespace vanta::testing {

// The wired 802.1X service.
class FakeIeee8021x final : public vanta::ieee8021x::Ieee8021x::Service, public FakeBackend {
  public:
    VANTA_FAKE_OPERATION(GetIeee8021xConfig, google::protobuf::Empty,
                         vanta::ieee8021x::Ieee8021xConfigResponse)
    VANTA_FAKE_OPERATION(GetIeee8021xState, google::protobuf::Empty,
                         vanta::ieee8021x::Ieee8021xStateResponse)
    VANTA_FAKE_OPERATION(SetIeee8021xState, vanta::ieee8021x::Ieee8021xState,
                         vanta::ieee8021x::RequestStatus)
};

}  // namespace vanta::testing
