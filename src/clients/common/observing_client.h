#pragma once

// The base of the backend clients that observe a Subscribe stream and make
// unary calls: the channel and the stream from the endpoint, and call(),
// which carries the endpoint's service name and deadline and the client's
// logger to call_or_throw / call_or_empty.
//
// The concrete client still calls close_stream() in its own destructor: the
// stream's reader thread calls observed_event_handler() until then.

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "clients/common/unary_call.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "runtime/logging/loggers.h"

namespace vanta::clients {

template <typename Service, typename Interface, typename Req, typename WireEvent, typename Event,
          typename Handler = std::function<void(const Event&)>>
class ObservingClient
    : public GrpcObservableClient<Service, Interface, Req, WireEvent, Event, Handler> {
  protected:
    using Base = GrpcObservableClient<Service, Interface, Req, WireEvent, Event, Handler>;

    // `observer_name` opens the refusal of a second observer
    // ("nfc::SetObserver : Only one observer per client at a time").
    // Without an executor a stream that ends is not set up again.
    ObservingClient(const Endpoint& endpoint, Executor* executor, logging::Logger& logger,
                    std::string observer_name,
                    SubscriptionWords<Req> words = unsubscribe_words<Req>())
        : Base(endpoint.address, executor, logger, std::move(observer_name), std::move(words)),
          service_name_(endpoint.service_name),
          timeout_(endpoint.deadline),
          logger_(logger) {}

    // Logs under the endpoint's service name.
    ObservingClient(const Endpoint& endpoint, Executor* executor, std::string observer_name)
        : ObservingClient(endpoint, executor, logging::getLogger(endpoint.service_name),
                          std::move(observer_name)) {}

    UnaryCall call(const char* operation) const {
        return {service_name_, operation, timeout_, logger_};
    }

    logging::Logger& logger() const { return logger_; }

  private:
    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::clients
