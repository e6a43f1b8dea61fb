#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "reset.grpc.pb.h"

namespace vanta::testing {

// The reset service.
class FakeReset final : public vanta::reset::Reset::Service, public FakeBackend {
  public:
    VANTA_FAKE_OPERATION(FactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_FAKE_OPERATION(RequestFactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_FAKE_OPERATION(Shutdown, google::protobuf::Empty, vanta::reset::Response)
    VANTA_FAKE_OPERATION(RestartNetwork, google::protobuf::Empty, vanta::reset::Response)
};

}  // namespace vanta::testing
