#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <grpcpp/grpcpp.h>

#include "gateway/feedback_subscription.h"
#include "gateway/vantaapi_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/logging/logger.h"
#include "runtime/tracing/tracing.h"
#include "vantaapi.grpc.pb.h"

namespace vanta {

// VantaApiClient over a gRPC channel to the service. Every unary method is the
// same call (see call()); the subscription runs on an executor of the
// client's own, driven by a thread that the destructor joins.
class VantaApiClientImpl final : public GrpcClient<vantaapi::VantaApi, VantaApiClient> {
  public:
    VantaApiClientImpl(const std::string& address, std::chrono::milliseconds timeout);
    ~VantaApiClientImpl() override;

    void SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                   const Notification& on_started) override;
    void SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                   const Notification& on_started,
                                   const Notification& on_ended) override;
    void UnsubscribeToFeedbackEvents() override;

    std::optional<bool> Reboot(bool force) override;
    std::optional<bool> SetAudioMute(bool mute, vantaapi::MuteMethod method) override;
    std::optional<bool> ToggleAudioMute() override;
    std::optional<bool> IsAudioMute() override;
    vantaapi::CalendarEventList GetCalendarEvents() override;

#define VANTA_API_OPERATION(Op, Request, Response) \
    std::optional<Response> Op(const Request& request) override;
#define VANTA_API_OPERATION_WITH_OWN_SIGNATURE(Op, Request, Response)
#include "gateway/vantaapi_operations.inc"
#undef VANTA_API_OPERATION
#undef VANTA_API_OPERATION_WITH_OWN_SIGNATURE

  private:
    using Stub = vantaapi::VantaApi::Stub;
    template <typename Request, typename Response>
    using StubMethod = grpc::Status (Stub::*)(grpc::ClientContext*, const Request&, Response*);

    // The one unary call: a span "VantaApiClient::<operation>" whose context
    // travels in the call's metadata, a 60 s deadline, and the response
    // (nothing after a recoverable failure, see handle_grpc_error).
    template <typename Request, typename Response>
    std::optional<Response> call(const char* operation, StubMethod<Request, Response> method,
                                 const Request& request);
    // As above, with `extract` applied to the response.
    template <typename Request, typename Response, typename Extract>
    auto call(const char* operation, StubMethod<Request, Response> method, const Request& request,
              Extract extract) -> std::optional<decltype(extract(std::declval<Response>()))>;

    // Logs a failed call; returns for the recoverable codes, throws
    // std::runtime_error "<operation>: unrecoverable grpc error: <CODE>" for
    // the others.
    void handle_grpc_error(const std::string& operation, const grpc::Status& status) const;

    logging::Logger& logger_;
    std::shared_ptr<tracing::Tracer> tracer_;
    // Kept as given; every call has its own fixed deadline.
    const std::chrono::milliseconds timeout_;
    WaitingExecutor executor_;
    std::thread executor_thread_;
    FeedbackSubscription subscription_;
};

}  // namespace vanta
