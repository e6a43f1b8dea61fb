#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "pubsub.pb.h"

namespace vanta::sim {

// How a simulated backend announces its changes on the device's bus. The
// simulator connects it to its broker; until then nothing is announced.
//
// Threading: any thread. announce() calls the publish function under a lock,
// so announcements keep the order in which they were made.
class BusAnnouncer {
  public:
    using Publish = std::function<void(const vanta::pubsub::PublishRequest&)>;

    // `author`: who the announcements are from ("volumemgr").
    explicit BusAnnouncer(std::string author) : author_(std::move(author)) {}

    void connect(Publish publish) {
        std::lock_guard<std::mutex> lock(mutex_);
        publish_ = std::move(publish);
    }

    // `attributes`: the message's named options ("ssid", "stage", ...).
    void announce(const std::string& topic, int event, const std::string& data,
                  const std::map<std::string, std::string>& attributes = {}) const {
        vanta::pubsub::PublishRequest request;
        request.set_author(author_);
        request.mutable_data()->set_topic(topic);
        request.mutable_data()->set_event(event);
        request.mutable_data()->set_data(data);
        request.mutable_data()->mutable_attributes()->insert(attributes.begin(), attributes.end());
        std::lock_guard<std::mutex> lock(mutex_);
        if (publish_) {
            publish_(request);
        }
    }

  private:
    const std::string author_;
    mutable std::mutex mutex_;
    Publish publish_;
};

}  // namespace vanta::sim
