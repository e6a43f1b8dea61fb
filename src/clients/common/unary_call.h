#pragma once

// The one way a backend client makes a unary call: a fresh context with the
// client's deadline, the stub operation, and one of the two failure styles.
//
//   auto reply = call_or_throw(stub(), &Stub::GetState, request, call);
//   auto reply = call_or_empty(stub(), &Stub::HoldMeeting, request, call);
//
// `call` names the service and the operation and carries the deadline and the
// logger; `prepare` (optional) adjusts the context before the call (trace
// metadata).

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include <grpcpp/grpcpp.h>

#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/logger.h"

namespace vanta::clients {

struct UnaryCall {
    // The client's name, as handle_grpc_status() prints it ("VolumeManager").
    const std::string& service;
    // The backend operation ("VolumeUp"), for log lines and error texts.
    const char* operation;
    std::chrono::milliseconds timeout;
    logging::Logger& logger;
    std::function<void(grpc::ClientContext&)> prepare = {};
    // The backend's refusal may quote what the call carries (user names,
    // paired users, proxy addresses, credentials): its text is logged concealed.
    bool personal_values = false;
};

// `call` for an operation that carries values identifying a person or
// credentials.
inline UnaryCall with_personal_values(UnaryCall call) {
    call.personal_values = true;
    return call;
}

namespace detail {

template <typename Stub, typename Request, typename Response>
grpc::Status invoke(Stub& stub,
                    grpc::Status (Stub::*method)(grpc::ClientContext*, const Request&, Response*),
                    const Request& request, Response& response, const UnaryCall& call) {
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + call.timeout);
    if (call.prepare) {
        call.prepare(context);
    }
    return (stub.*method)(&context, request, &response);
}

// Logs "<Op> request failed, grpc error: {}, code: {}" for a failed style-A
// call; throws for a code that is not recoverable.
void report_style_a_failure(const UnaryCall& call, const grpc::Status& status);

}  // namespace detail

// Style B: the reply, or the typed error of the status (handle_grpc_status).
template <typename Stub, typename Request, typename Response>
Response call_or_throw(Stub& stub,
                       grpc::Status (Stub::*method)(grpc::ClientContext*, const Request&,
                                                    Response*),
                       const Request& request, const UnaryCall& call) {
    Response response;
    const grpc::Status status = detail::invoke(stub, method, request, response, call);
    handle_grpc_status(call.service, call.operation, status);
    return response;
}

// Style A: the reply; nothing after logging "<Op> request failed, ..." for a
// recoverable code; std::runtime_error "<Op>: unrecoverable grpc error: <CODE>"
// for any other code.
template <typename Stub, typename Request, typename Response>
std::optional<Response> call_or_empty(Stub& stub,
                                      grpc::Status (Stub::*method)(grpc::ClientContext*,
                                                                   const Request&, Response*),
                                      const Request& request, const UnaryCall& call) {
    Response response;
    const grpc::Status status = detail::invoke(stub, method, request, response, call);
    if (status.ok()) {
        return response;
    }
    detail::report_style_a_failure(call, status);
    return std::nullopt;
}

}  // namespace vanta::clients
