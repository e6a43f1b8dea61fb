#pragma once

#include <functional>
#include <string>

#include <grpcpp/support/status.h>

namespace vanta {

// Runs `body` at the boundary of one of the daemon's own services and turns the
// backend errors it throws into the status to answer with, whose message is
// "<name>: [<what()>]". OK when `body` returns normally.
//
// ServiceResourceAlreadyExists and every exception outside the mapping are not
// caught: they leave the handler and gRPC answers UNKNOWN.
grpc::Status grpc_exception_handler(const std::string& name, const std::function<void()>& body);

}  // namespace vanta
