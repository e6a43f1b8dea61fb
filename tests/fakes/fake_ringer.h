#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "ringer.grpc.pb.h"

namespace vanta::testing {

// The ringer.
class FakeRinger final : public vanta::ringer::Ringer::Service, public FakeBackend {
  public:
    VANTA_FAKE_OPERATION(StartRinger, vanta::ringer::RingerData, vanta::ringer::RequestStatus)
    VANTA_FAKE_OPERATION(StopRinger, google::protobuf::Empty, vanta::ringer::RequestStatus)
};

}  // namespace vanta::testing
