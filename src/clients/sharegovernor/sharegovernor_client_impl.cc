#include "clients/sharegovernor/sharegovernor_client_impl.h"

#include <stdexcept>
#include <utility>

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::sharegovernor {
namespace {

using Stub = ShareGovernor::Stub;
using google::protobuf::Empty;

}  // namespace

ClientImpl::ClientImpl(Executor& executor, const std::string& address,
                       std::chrono::milliseconds timeout, logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), executor_(executor), logger_(logger) {}

// The stream goes before the stub: its reader thread uses both.
ClientImpl::~ClientImpl() {
    observing_ = false;
    stream_manager_.reset();
}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kShareGovernorServiceName, operation, timeout_, logger_};
}

// Event subscription.

void ClientImpl::SetObserver(const EventHandler& on_event, const Notification& on_ready) {
    // The subscription the three-callback form is about to make.
    const std::uint64_t subscription = subscription_ + 1;
    SetObserver(on_event, on_ready, [this, subscription, on_event, on_ready] {
        if (observing_ && subscription_ == subscription) {
            reconnect_stream(subscription, on_event, on_ready);
        }
    });
}

void ClientImpl::SetObserver(const EventHandler& on_event, const Notification& on_ready,
                             const Notification& on_closed) {
    if (stream_manager_) {
        throw std::runtime_error(
            "sharegovernor::SetObserver : Only one observer per client at a time");
    }
    ++subscription_;
    observing_ = true;
    auto open_subscription = [this](grpc::ClientContext* context) {
        auto stream = stub().Subscribe(context);
        SubscriptionRequest request;
        request.set_unsubscribe(false);
        stream->Write(request);
        return stream;
    };
    auto deliver = [on_event, on_ready](const Event& event) {
        if (event.data_case() == Event::kStreamStarted) {
            if (on_ready) {
                on_ready();
            }
            return;
        }
        if (on_event) {
            on_event(event);
        }
    };
    stream_manager_ =
        std::make_unique<StreamManager>(channel(), open_subscription, deliver, on_closed);
}

void ClientImpl::RemoveObserver() {
    observing_ = false;
    if (!stream_manager_) {
        return;
    }
    SubscriptionRequest request;
    request.set_unsubscribe(true);
    stream_manager_->write(request);
    stream_manager_.reset();
}

// Runs on the reader thread of the stream that ended.
void ClientImpl::reconnect_stream(std::uint64_t subscription, const EventHandler& on_event,
                                  const Notification& on_ready) {
    logger_.info("reconnect_stream");
    if (!on_event || !on_ready) {
        logger_.error("reconnect_stream failed");
        return;
    }
    std::weak_ptr<char> alive = alive_;
    executor_.add_work(
        [this, alive, subscription, on_event, on_ready] {
            // The client may be gone, or observation removed or replaced,
            // while the work waited in the queue.
            if (alive.expired() || !observing_ || subscription_ != subscription) {
                return;
            }
            RemoveObserver();
            refresh_channel();
            SetObserver(on_event, on_ready);
        },
        0, "reconnect_stream");
}

// Unary operations.

void ClientImpl::StopAllShares() {
    clients::call_or_throw(stub(), &Stub::StopAllShares, Empty(), call("StopAllShares"));
}

void ClientImpl::StartLocalPreview() {
    clients::call_or_throw(stub(), &Stub::StartLocalPreview, Empty(), call("StartLocalPreview"));
}

void ClientImpl::StartWiredShare() {
    clients::call_or_throw(stub(), &Stub::StartWiredShare, Empty(), call("StartWiredShare"));
}

ActiveShares ClientImpl::GetActiveShares() {
    return clients::call_or_throw(stub(), &Stub::GetActiveShares, Empty(), call("GetActiveShares"));
}

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(executor, kShareGovernorAddress, timeout,
                                        logging::getLogger("ShareGovernorClient"));
}

}  // namespace vanta::sharegovernor
