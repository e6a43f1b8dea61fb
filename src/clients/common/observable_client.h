#pragma once

#include <functional>
#include <string>
#include <utility>

#include "clients/common/event_subscription.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::clients {

// A backend client whose backend streams `Event`s over its `Subscribe` call:
// the GrpcClient of (Service, Interface) with the observer operations served
// by one EventSubscription.
//
// The subscription is this class's member, so a client's stream ends before
// its stub and channel go (the stream's reader uses them).
template <typename Service, typename Interface, typename Request, typename Event>
class ObservableClient : public GrpcClient<Service, Interface> {
  public:
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready) override {
        events_.set_observer(on_event, on_ready);
    }
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready,
                     const std::function<void()>& on_closed) override {
        events_.set_observer(on_event, on_ready, on_closed);
    }
    void RemoveObserver() override { events_.remove_observer(); }

  protected:
    // `name` opens the refusal of a second observer ("avatar::SetObserver :
    // ..."); `is_stream_started` picks the backend's announcement of a new
    // stream; `start` and `stop` are what the backend reads as the start and
    // the end of observation. Without an executor a stream that ends is not
    // set up again.
    ObservableClient(const std::string& address, std::string name,
                     std::function<bool(const Event&)> is_stream_started, Request start,
                     Request stop, Executor* executor, logging::Logger& logger)
        : GrpcClient<Service, Interface>(address),
          events_({std::move(name), *this, [this] { return this->channel(); },
                   [this](grpc::ClientContext* context) { return this->stub().Subscribe(context); },
                   std::move(is_stream_started), std::move(start), std::move(stop)},
                  executor, logger) {}

  private:
    EventSubscription<Request, Event> events_;
};

}  // namespace vanta::clients
