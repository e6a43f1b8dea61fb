#include "pubsub/subscriber_impl.h"

#include <stdexcept>

#include "pubsub/grpc_subscriber.h"

namespace vanta::pubsub {

SubscriberImpl::SubscriberImpl(const std::string& name, const std::string& address)
    : SubscriberImpl(name, std::make_unique<GrpcSubscriber>(address, name)) {}

SubscriberImpl::SubscriberImpl(const std::string& name,
                               std::unique_ptr<SubscribeInterface> subscribe)
    : name_(name), subscribe_(std::move(subscribe)) {
    if (!subscribe_) {
        throw std::invalid_argument("SubscriberImpl needs a subscribe interface");
    }
}

std::string SubscriberImpl::name() const {
    return name_;
}

bool SubscriberImpl::subscribe(std::vector<std::string> topics) {
    SubscriptionRequest request;
    request.set_subscriber(name_);
    for (auto& topic : topics) {
        request.add_topics(std::move(topic));
    }
    return subscribe_->subscribe(request);
}

std::vector<std::string> SubscriberImpl::subscriptions() {
    SubscriptionQueryRequest request;
    request.set_subscriber(name_);
    Subscriptions answer;
    if (!subscribe_->subscriptions(request, answer)) {
        return {};
    }
    return {answer.topics().begin(), answer.topics().end()};
}

bool SubscriberImpl::read(PubSubMessage& message) const {
    ReadRequest request;
    request.set_subscriber(name_);
    return subscribe_->read(request, message.msg());
}

void SubscriberImpl::stop_reading() const {
    subscribe_->stop_reading();
}

bool SubscriberImpl::restart() {
    return subscribe_->restart();
}

void SubscriberImpl::set_timeout(std::chrono::milliseconds timeout) {
    subscribe_->set_timeout(timeout);
}

std::chrono::milliseconds SubscriberImpl::timeout() const {
    return subscribe_->timeout();
}

}  // namespace vanta::pubsub
