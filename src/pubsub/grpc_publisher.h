#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "pubsub.grpc.pb.h"
#include "pubsub/publish_interface.h"
#include "runtime/logging/logger.h"
#include "runtime/logging/loggers.h"

namespace vanta::pubsub {

// Publishes over gRPC to the broker's publish service at a fixed address.
// Threading: any thread may publish; each Publish is one independent call.
class GrpcPublisher final : public PublishInterface {
  public:
    explicit GrpcPublisher(const std::string& address,
                           const logging::Logger& logger = logging::getLogger("GrpcPublisher"));

    // CANCELLED, UNKNOWN, DEADLINE_EXCEEDED, UNIMPLEMENTED, INTERNAL and
    // UNAVAILABLE give `success` false with the reason; any other failure
    // throws std::runtime_error.
    PublishResponse Publish(const PublishRequest& request) override;
    std::chrono::milliseconds timeout() const override;
    void set_timeout(std::chrono::milliseconds timeout) override;

  private:
    std::atomic<std::chrono::milliseconds> timeout_{std::chrono::milliseconds(0)};
    const logging::Logger& logger_;
    const std::unique_ptr<PublishService::Stub> stub_;
};

}  // namespace vanta::pubsub
