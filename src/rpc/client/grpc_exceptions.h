#pragma once

#include <stdexcept>
#include <string>

#include <grpcpp/support/status.h>

namespace vanta {

// A backend call that failed. Each subclass stands for the gRPC status code
// the backend answered with; handle_grpc_status() picks the subclass.
class GrpcException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// INVALID_ARGUMENT
class ServiceInvalidArgumentError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// DEADLINE_EXCEEDED
class ServiceDeadlineError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// NOT_FOUND
class ServiceResourceNotFoundError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// ALREADY_EXISTS. grpc_exception_handler() does not map it: it reaches the
// gRPC layer, which answers UNKNOWN.
class ServiceResourceAlreadyExists : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// FAILED_PRECONDITION
class ServiceFailedPrecondition : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// UNIMPLEMENTED
class ServiceMethodNotImplementedError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// INTERNAL
class ServiceInternalError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// UNAVAILABLE: the backend is not running or the connection broke.
class ServiceUnavailableError : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// Every other non-OK code.
class GrpcDefaultException : public GrpcException {
  public:
    using GrpcException::GrpcException;
};

// The gRPC name of `code` ("NOT_FOUND", ...); "UNKNOWN" for values gRPC does
// not define.
std::string GrpcStatusCodeToString(grpc::StatusCode code);

// Whether a failed call with `code` says nothing about the request itself:
// the backend was away, slow, or could not serve it (CANCELLED, UNKNOWN,
// DEADLINE_EXCEEDED, UNIMPLEMENTED, INTERNAL, UNAVAILABLE). Callers that
// answer "no result" for these raise for every other code.
bool is_recoverable_status(grpc::StatusCode code);

// Returns when `status` is OK; otherwise throws the exception for its code,
// with the text "<service>::<method>: <CODE> - [<error message>]".
void handle_grpc_status(const std::string& service, const std::string& method,
                        const grpc::Status& status);

}  // namespace vanta
