#pragma once

#include <chrono>

#include "pubsub.pb.h"

namespace vanta::pubsub {

// The broker's publish service as the publisher sees it.
class PublishInterface {
  public:
    virtual ~PublishInterface() = default;
    // The broker's answer. Failures the publisher can retry later come back as
    // a response with `success` false; the others are thrown.
    virtual PublishResponse Publish(const PublishRequest& request) = 0;
    // Deadline of each call; 0 means none.
    virtual std::chrono::milliseconds timeout() const = 0;
    virtual void set_timeout(std::chrono::milliseconds timeout) = 0;
};

}  // namespace vanta::pubsub
