#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "pubsub/publish_interface.h"
#include "pubsub/publisher.h"

namespace vanta::pubsub {

// Threading: Publish may be called from several threads at once.
class PublisherImpl final : public Publisher {
  public:
    // Publishes to the device's broker (the registry's "Publish Service", else
    // the socket "unix:/tmp/pubservice"). An empty `name` publishes under the
    // process id.
    explicit PublisherImpl(const std::string& name);
    // Publishes to the broker's publish service at `address`.
    PublisherImpl(const std::string& name, const std::string& address);
    // Publishes through `publish`. REQUIRES: `publish` is not null.
    PublisherImpl(const std::string& name, std::unique_ptr<PublishInterface> publish);

    PublisherImpl(const PublisherImpl&) = delete;
    PublisherImpl& operator=(const PublisherImpl&) = delete;

    bool Publish(const PubSubMessage& message) override;
    std::string GetLastFailureReason() override;
    void set_timeout(std::chrono::milliseconds timeout) override;
    std::chrono::milliseconds timeout() const override;

    const std::string& author() const { return author_; }

  private:
    const std::string author_;
    const std::unique_ptr<PublishInterface> publish_;
    std::mutex failure_mutex_;
    std::string last_failure_reason_;
};

}  // namespace vanta::pubsub
