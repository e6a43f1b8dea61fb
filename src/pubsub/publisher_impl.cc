#include "pubsub/publisher_impl.h"

#include <unistd.h>

#include <cstdint>
#include <stdexcept>

#include "pubsub/grpc_publisher.h"
#include "rpc/client/service_address.h"

namespace vanta::pubsub {

namespace {

std::string author_name(const std::string& name) {
    return name.empty() ? std::to_string(getpid()) : name;
}

}  // namespace

PublisherImpl::PublisherImpl(const std::string& name)
    : PublisherImpl(name, resolve_endpoint(device_endpoints().pubservice).address) {}

PublisherImpl::PublisherImpl(const std::string& name, const std::string& address)
    : PublisherImpl(name, std::make_unique<GrpcPublisher>(address)) {}

PublisherImpl::PublisherImpl(const std::string& name, std::unique_ptr<PublishInterface> publish)
    : author_(author_name(name)), publish_(std::move(publish)) {
    if (!publish_) {
        throw std::invalid_argument("PublisherImpl needs a publish interface");
    }
}

bool PublisherImpl::Publish(const PubSubMessage& message) {
    PublishRequest request;
    request.set_author(author_);
    *request.mutable_data() = message.msg();
    if (request.data().event_name().empty()) {
        // Subscribers that match on names see the number as text.
        request.mutable_data()->set_event_name(
            std::to_string(static_cast<std::uint32_t>(request.data().event())));
    }
    const PublishResponse response = publish_->Publish(request);
    if (!response.success()) {
        std::lock_guard<std::mutex> lock(failure_mutex_);
        last_failure_reason_ = response.reason();
    }
    return response.success();
}

std::string PublisherImpl::GetLastFailureReason() {
    std::lock_guard<std::mutex> lock(failure_mutex_);
    return last_failure_reason_;
}

void PublisherImpl::set_timeout(std::chrono::milliseconds timeout) {
    publish_->set_timeout(timeout);
}

std::chrono::milliseconds PublisherImpl::timeout() const {
    return publish_->timeout();
}

}  // namespace vanta::pubsub
