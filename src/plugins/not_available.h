#pragma once

#include <grpcpp/support/status.h>

namespace vanta {

// The answer of a plugin operation that this build does not serve yet:
// UNIMPLEMENTED with the operation's name.
inline grpc::Status not_available_yet(const char* operation) {
    return grpc::Status(grpc::StatusCode::UNIMPLEMENTED, operation);
}

}  // namespace vanta
