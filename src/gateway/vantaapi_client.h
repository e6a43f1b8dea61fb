#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <google/protobuf/empty.pb.h>

#include "rpc/client/grpc_client_base.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The daemon's own VantaApi seen from a local client: one blocking method per
// unary operation and the subscription to the event stream.
//
// A call never throws for an ordinary RPC failure: it logs the failure and
// returns an empty result (CANCELLED, UNKNOWN, DEADLINE_EXCEEDED,
// UNIMPLEMENTED, INTERNAL, UNAVAILABLE). Any other code throws
// std::runtime_error "<Op>: unrecoverable grpc error: <CODE>".
//
// Threading: calls may be made from several threads at once. Subscription
// callbacks run on the client's own executor thread, one at a time.
class VantaApiClient : public GrpcClientBase {
  public:
    using FeedbackEventCallback = std::function<void(const vantaapi::VantaEvent&)>;
    using Notification = std::function<void()>;

    // Opens the event stream: every event goes to `on_event`, except the
    // stream's own STREAM_STARTED announcement, which goes to `on_started`.
    // A stream that ends is opened again with the same callbacks. Throws
    // std::runtime_error while a subscription exists.
    virtual void SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                           const Notification& on_started) = 0;
    // As above, but when the stream ends `on_ended` is called instead and
    // the caller decides what follows (unsubscribe, then subscribe again).
    virtual void SubscribeToFeedbackEvents(const FeedbackEventCallback& on_event,
                                           const Notification& on_started,
                                           const Notification& on_ended) = 0;
    // Ends the stream; its callbacks that have not started yet are dropped.
    virtual void UnsubscribeToFeedbackEvents() = 0;

    // The operations the command gateway uses, with plain values.
    // RequestStatus.success of the reboot request.
    virtual std::optional<bool> Reboot(bool force) = 0;
    // MuteStatus.is_mute after the change.
    virtual std::optional<bool> SetAudioMute(bool mute, vantaapi::MuteMethod method) = 0;
    virtual std::optional<bool> ToggleAudioMute() = 0;
    virtual std::optional<bool> IsAudioMute() = 0;
    // The bookings; an empty list when the call failed.
    virtual vantaapi::CalendarEventList GetCalendarEvents() = 0;

    // Every other operation: the response, present exactly when the call
    // succeeded.
#define VANTA_API_OPERATION(Op, Request, Response) \
    virtual std::optional<Response> Op(const Request& request) = 0;
#define VANTA_API_OPERATION_WITH_OWN_SIGNATURE(Op, Request, Response)
#include "gateway/vantaapi_operations.inc"
#undef VANTA_API_OPERATION
#undef VANTA_API_OPERATION_WITH_OWN_SIGNATURE
};

// A client of the VantaApi service on `address`; it connects on its first
// call, so the service need not be up yet.
std::unique_ptr<VantaApiClient> create_vantaapi_client(const std::string& address,
                                                       std::chrono::milliseconds timeout);

}  // namespace vanta
