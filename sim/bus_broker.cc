#include "sim/bus_broker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <set>
#include <stdexcept>
#include <thread>

#include "sim/bounded_history.h"

namespace vanta::sim {

using vanta::pubsub::PublishRequest;
using vanta::pubsub::PublishResponse;
using vanta::pubsub::PubSubMsg;
using vanta::pubsub::ReadRequest;
using vanta::pubsub::SubscriptionQueryRequest;
using vanta::pubsub::SubscriptionRequest;
using vanta::pubsub::SubscriptionResponse;
using vanta::pubsub::Subscriptions;

namespace {

// How often an idle Read stream looks whether its client went away.
constexpr std::chrono::milliseconds kCancelPollInterval{50};

bool contains(const std::vector<std::string>& topics, const std::string& topic) {
    return std::find(topics.begin(), topics.end(), topic) != topics.end();
}

}  // namespace

struct BusBroker::State {
    explicit State(Limits limits)
        : limits(limits), publish_requests(limits.history), subscribe_calls(limits.history) {}

    const Limits limits;
    mutable std::mutex mutex;
    mutable std::condition_variable changed;

    BoundedHistory<PublishRequest> publish_requests;
    BoundedHistory<SubscribeCall> subscribe_calls;
    std::map<std::string, std::vector<std::string>> subscriptions;
    std::map<std::string, std::deque<PubSubMsg>> queues;
    std::map<std::string, size_t> open_streams;

    grpc::Status publish_status;
    std::string publish_refusal;
    std::chrono::milliseconds publish_delay{0};
    std::set<std::string> refused_topics;

    // end_streams() moves on to the next generation; streams of older ones end.
    unsigned stream_generation = 0;
    bool closed = false;

    // REQUIRES: mutex held.
    void deliver_locked(const PubSubMsg& message) {
        for (const auto& [subscriber, topics] : subscriptions) {
            if (contains(topics, message.topic())) {
                enqueue_locked(subscriber, message);
            }
        }
        changed.notify_all();
    }
    // A subscriber that does not read keeps only its newest messages.
    // REQUIRES: mutex held.
    void enqueue_locked(const std::string& subscriber, const PubSubMsg& message) {
        auto& queue = queues[subscriber];
        if (queue.size() >= limits.queue) {
            queue.pop_front();
        }
        queue.push_back(message);
    }
};

class BusBroker::PublishServiceImpl final : public vanta::pubsub::PublishService::Service {
  public:
    explicit PublishServiceImpl(State& state) : state_(state) {}

    grpc::Status Publish(grpc::ServerContext*, const PublishRequest* request,
                         PublishResponse* response) override {
        std::chrono::milliseconds delay{0};
        {
            std::lock_guard<std::mutex> lock(state_.mutex);
            state_.publish_requests.add(*request);
            state_.changed.notify_all();
            delay = state_.publish_delay;
        }
        std::this_thread::sleep_for(delay);
        std::lock_guard<std::mutex> lock(state_.mutex);
        if (!state_.publish_status.ok()) {
            return state_.publish_status;
        }
        if (!state_.publish_refusal.empty()) {
            response->set_success(false);
            response->set_reason(state_.publish_refusal);
            return grpc::Status::OK;
        }
        response->set_success(true);
        state_.deliver_locked(request->data());
        return grpc::Status::OK;
    }

  private:
    State& state_;
};

class BusBroker::SubscribeServiceImpl final : public vanta::pubsub::SubscribeService::Service {
  public:
    explicit SubscribeServiceImpl(State& state) : state_(state) {}

    grpc::Status Subscribe(grpc::ServerContext*, const SubscriptionRequest* request,
                           SubscriptionResponse* response) override {
        SubscribeCall call{
            request->subscriber(), {request->topics().begin(), request->topics().end()}, false};
        std::lock_guard<std::mutex> lock(state_.mutex);
        call.accepted = std::none_of(
            call.topics.begin(), call.topics.end(),
            [&](const std::string& topic) { return state_.refused_topics.count(topic) > 0; });
        if (call.accepted) {
            auto& topics = state_.subscriptions[call.subscriber];
            for (const auto& topic : call.topics) {
                if (!contains(topics, topic)) {
                    topics.push_back(topic);
                }
            }
        }
        response->set_success(call.accepted);
        state_.subscribe_calls.add(std::move(call));
        state_.changed.notify_all();
        return grpc::Status::OK;
    }

    grpc::Status GetSubscriptions(grpc::ServerContext*, const SubscriptionQueryRequest* request,
                                  Subscriptions* response) override {
        std::lock_guard<std::mutex> lock(state_.mutex);
        response->set_subscriber(request->subscriber());
        const auto it = state_.subscriptions.find(request->subscriber());
        if (it != state_.subscriptions.end()) {
            for (const auto& topic : it->second) {
                response->add_topics(topic);
            }
        }
        return grpc::Status::OK;
    }

    grpc::Status Read(grpc::ServerContext* context, const ReadRequest* request,
                      grpc::ServerWriter<PubSubMsg>* writer) override {
        const std::string& subscriber = request->subscriber();
        std::unique_lock<std::mutex> lock(state_.mutex);
        if (state_.closed) {
            return {grpc::StatusCode::UNAVAILABLE, "the broker is shutting down"};
        }
        const unsigned generation = state_.stream_generation;
        ++state_.open_streams[subscriber];
        state_.changed.notify_all();

        grpc::Status status;
        auto& queue = state_.queues[subscriber];
        while (true) {
            state_.changed.wait_for(lock, kCancelPollInterval, [&] {
                return state_.closed || state_.stream_generation != generation || !queue.empty();
            });
            if (state_.closed || state_.stream_generation != generation) {
                status = {grpc::StatusCode::UNAVAILABLE, "the broker ended the stream"};
                break;
            }
            if (context->IsCancelled()) {
                status = {grpc::StatusCode::CANCELLED, "the subscriber went away"};
                break;
            }
            if (queue.empty()) {
                continue;
            }
            const PubSubMsg message = queue.front();
            queue.pop_front();
            lock.unlock();
            const bool written = writer->Write(message);
            lock.lock();
            if (!written) {
                // Kept for another stream of the subscriber, if it has one.
                queue.push_front(message);
                status = {grpc::StatusCode::CANCELLED, "the subscriber went away"};
                break;
            }
        }
        if (--state_.open_streams[subscriber] == 0) {
            state_.open_streams.erase(subscriber);
            if (status.error_code() == grpc::StatusCode::CANCELLED) {
                // The subscriber went away: what it had not read goes with it.
                // Later messages wait (bounded) for a stream it may open again.
                state_.queues.erase(subscriber);
            }
        }
        state_.changed.notify_all();
        return status;
    }

  private:
    State& state_;
};

BusBroker::BusBroker() : BusBroker(Limits()) {}

BusBroker::BusBroker(Limits limits)
    : state_(std::make_unique<State>(limits)),
      publish_(std::make_unique<PublishServiceImpl>(*state_)),
      subscribe_(std::make_unique<SubscribeServiceImpl>(*state_)) {}

BusBroker::BusBroker(const std::string& address) : BusBroker() {
    serve(address);
}

BusBroker::BusBroker(const std::vector<std::string>& addresses) : BusBroker() {
    serve(addresses);
}

BusBroker::~BusBroker() {
    shutdown();
}

void BusBroker::serve(const std::string& address) {
    serve(std::vector<std::string>{address});
}

void BusBroker::serve(const std::vector<std::string>& addresses) {
    std::lock_guard<std::mutex> lock(server_mutex_);
    {
        std::lock_guard<std::mutex> state_lock(state_->mutex);
        if (server_ || state_->closed) {
            throw std::logic_error("BusBroker serves once: " + addresses.front());
        }
    }
    server_ = std::make_unique<BackendServer>(
        addresses, std::initializer_list<grpc::Service*>{publish_.get(), subscribe_.get()});
}

void BusBroker::shutdown() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->closed = true;
        state_->changed.notify_all();
    }
    std::lock_guard<std::mutex> lock(server_mutex_);
    server_.reset();
}

grpc::Service* BusBroker::publish_service() {
    return publish_.get();
}

grpc::Service* BusBroker::subscribe_service() {
    return subscribe_.get();
}

void BusBroker::deliver(const PubSubMsg& message) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->deliver_locked(message);
}

void BusBroker::publish(const PublishRequest& request) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->publish_requests.add(request);
    state_->deliver_locked(request.data());
}

void BusBroker::deliver_to(const std::string& subscriber, const PubSubMsg& message) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->enqueue_locked(subscriber, message);
    state_->changed.notify_all();
}

void BusBroker::end_streams() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    ++state_->stream_generation;
    state_->changed.notify_all();
}

void BusBroker::fail_publish(const grpc::Status& status) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->publish_status = status;
}

void BusBroker::refuse_publish(const std::string& reason) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->publish_refusal = reason;
}

void BusBroker::delay_publish(std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->publish_delay = delay;
}

void BusBroker::refuse_topic(const std::string& topic) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->refused_topics.insert(topic);
}

std::vector<PublishRequest> BusBroker::publish_requests() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->publish_requests.entries();
}

std::vector<PublishRequest> BusBroker::publish_requests_after(size_t& seen) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto requests = state_->publish_requests.entries_after(seen);
    seen = state_->publish_requests.total();
    return requests;
}

size_t BusBroker::queued_messages(const std::string& subscriber) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    const auto it = state_->queues.find(subscriber);
    return it != state_->queues.end() ? it->second.size() : 0;
}

std::vector<BusBroker::SubscribeCall> BusBroker::subscribe_calls() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->subscribe_calls.entries();
}

std::vector<std::string> BusBroker::subscriptions(const std::string& subscriber) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    const auto it = state_->subscriptions.find(subscriber);
    return it != state_->subscriptions.end() ? it->second : std::vector<std::string>();
}

size_t BusBroker::open_streams() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    size_t total = 0;
    for (const auto& entry : state_->open_streams) {
        total += entry.second;
    }
    return total;
}

bool BusBroker::wait_for_publish_requests(size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, limit,
                                    [&] { return state_->publish_requests.total() >= count; });
}

bool BusBroker::wait_for_subscribe_calls(size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, limit,
                                    [&] { return state_->subscribe_calls.total() >= count; });
}

bool BusBroker::wait_for_open_streams(const std::string& subscriber, size_t count,
                                      std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, limit, [&] {
        const auto it = state_->open_streams.find(subscriber);
        return it != state_->open_streams.end() && it->second >= count;
    });
}

bool BusBroker::wait_for_closed_streams(const std::string& subscriber,
                                        std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, limit, [&] {
        const auto it = state_->open_streams.find(subscriber);
        return it == state_->open_streams.end() || it->second == 0;
    });
}

}  // namespace vanta::sim
