#pragma once

// The kinds of body of the API's unary handlers. Every handler runs inside
// VantaApiImpl::serve() (the span "VantaApiServer::<Op>") and is one of:
//
//   plugin delegation   return plugin_.operation(context, request, response);
//   optional answer     return answer_or_unavailable(client_->Op(...), "Op ... FAILED",
//                                                    [&](const auto& reply) { ... });
//   guarded call        return guarded("Op", [&] { value = client_->Op(...); }) and copy
//                       `value` into the response whatever the status;
//   guarded with a log  return guarded_with_log(logger_, "Op", "config_manager_client",
//                                               "Op configmanager client FAILED", [&] {...});
//   unguarded           call the client, fill the response, return OK (an exception
//                       leaves the handler: gRPC answers UNKNOWN).

#include <optional>
#include <string>
#include <utility>

#include <grpcpp/support/status.h>

#include "rpc/client/grpc_exception_handler.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/logger.h"

namespace vanta::api {

// Optional answer: with a result, `fill` copies it into the response and the
// answer is OK; without one, UNAVAILABLE with `failure` and the response stays
// empty.
template <typename Result, typename Fill>
grpc::Status answer_or_unavailable(const std::optional<Result>& result, const char* failure,
                                   Fill&& fill) {
    if (!result) {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, failure);
    }
    std::forward<Fill>(fill)(*result);
    return grpc::Status::OK;
}

// Guarded call: the backend errors of `body` become the status
// ("<name>: [<what>]"); other exceptions leave the handler.
template <typename Body>
grpc::Status guarded(const char* name, Body&& body) {
    return grpc_exception_handler(name, std::forward<Body>(body));
}

// Guarded with a log: a backend error is logged as
// "<name>: Caught <client> exception: <what>" and answered UNAVAILABLE with
// `failure`.
template <typename Body>
grpc::Status guarded_with_log(const logging::Logger& logger, const char* name, const char* client,
                              const char* failure, Body&& body) {
    try {
        std::forward<Body>(body)();
        return grpc::Status::OK;
    } catch (const GrpcException& e) {
        const std::string format = std::string("{}: Caught ") + client + " exception: {}";
        const std::string function = name;
        const std::string what = e.what();
        logger.print_error(format, fmt::format_args(fmt::make_format_args(function, what)));
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, failure);
    }
}

}  // namespace vanta::api
