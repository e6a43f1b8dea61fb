#include "gateway/feedback_subscription.h"

#include <stdexcept>
#include <utility>

namespace vanta {

FeedbackSubscription::FeedbackSubscription(
    std::function<std::shared_ptr<GrpcClientChannel>()> channel, OpenStream open,
    Executor& executor, logging::Logger& logger)
    : channel_(std::move(channel)), open_(std::move(open)), executor_(executor), logger_(logger) {}

FeedbackSubscription::~FeedbackSubscription() {
    std::unique_ptr<Manager> stream;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        stream = std::move(stream_);
    }
    // The stream closes here, outside the lock, joining its reader.
}

void FeedbackSubscription::subscribe(const EventCallback& on_event,
                                     const Notification& on_started) {
    subscribe(on_event, on_started,
              [this, on_event, on_started] { reconnect_stream(on_event, on_started); });
}

void FeedbackSubscription::subscribe(const EventCallback& on_event, const Notification& on_started,
                                     const Notification& on_ended) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stream_) {
        throw std::runtime_error(
            "VantaApiClientImpl::SubscribeToFeedbackEvents : Only one subscription per client at "
            "a time");
    }
    const std::uint64_t generation = ++generation_;
    stream_ = std::make_unique<Manager>(
        channel_(), open_,
        [this, generation, on_event, on_started](const Event& event) {
            post(generation, "feedback_event",
                 [this, event, on_event, on_started] { deliver(event, on_event, on_started); });
        },
        [this, generation, on_ended] {
            if (on_ended) {
                post(generation, "feedback_stream_ended", on_ended);
            }
        });
}

void FeedbackSubscription::unsubscribe() {
    std::unique_ptr<Manager> stream;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        stream = std::move(stream_);
    }
    if (!stream) {
        logger_.info("{}: stream already ended", "UnsubscribeToFeedbackEvents");
        return;
    }
    Request request;
    request.set_unsubscribe(true);
    stream->write(request);
    // Destroying the manager half-closes the stream and joins its reader.
}

void FeedbackSubscription::deliver(const Event& event, const EventCallback& on_event,
                                   const Notification& on_started) const {
    if (event.data_case() != Event::kSubscriptionStatus) {
        if (on_event) {
            on_event(event);
        }
        return;
    }
    // The service announces each new stream; the other statuses carry
    // nothing for the subscriber.
    if (event.subscription_status().status() ==
            vantaapi::VantaApiSubscriptionStatus::STREAM_STARTED &&
        on_started) {
        on_started();
    }
}

void FeedbackSubscription::reconnect_stream(const EventCallback& on_event,
                                            const Notification& on_started) {
    logger_.info("{}", "reconnect_stream");
    if (!on_event || !on_started) {
        return;
    }
    std::uint64_t generation;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        generation = generation_;
    }
    // A service that ends every stream at once must not keep this client
    // spinning: the new subscription waits a little.
    executor_.schedule_work(
        [this, generation, on_event, on_started] {
            post(generation, "reconnect_stream", [this, on_event, on_started] {
                unsubscribe();
                subscribe(on_event, on_started);
            });
        },
        kReconnectDelay);
}

void FeedbackSubscription::post(std::uint64_t generation, const char* name,
                                std::function<void()> work) {
    executor_.add_work(
        [this, generation, name, work = std::move(work)] {
            if (!is_current(generation)) {
                return;
            }
            // What a callback throws must not end the executor's thread.
            try {
                work();
            } catch (const std::exception& e) {
                logger_.error("{}: {}", name, e.what());
            }
        },
        0, name);
}

bool FeedbackSubscription::is_current(std::uint64_t generation) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stream_ && generation_ == generation;
}

}  // namespace vanta
