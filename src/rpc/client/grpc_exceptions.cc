#include "rpc/client/grpc_exceptions.h"

namespace vanta {

std::string GrpcStatusCodeToString(grpc::StatusCode code) {
    switch (static_cast<int>(code)) {
        case -1:
            return "DO_NOT_USE";
        case 0:
            return "OK";
        case 1:
            return "CANCELLED";
        case 2:
            return "UNKNOWN";
        case 3:
            return "INVALID_ARGUMENT";
        case 4:
            return "DEADLINE_EXCEEDED";
        case 5:
            return "NOT_FOUND";
        case 6:
            return "ALREADY_EXISTS";
        case 7:
            return "PERMISSION_DENIED";
        case 8:
            return "RESOURCE_EXHAUSTED";
        case 9:
            return "FAILED_PRECONDITION";
        case 10:
            return "ABORTED";
        case 11:
            return "OUT_OF_RANGE";
        case 12:
            return "UNIMPLEMENTED";
        case 13:
            return "INTERNAL";
        case 14:
            return "UNAVAILABLE";
        case 15:
            return "DATA_LOSS";
        case 16:
            return "UNAUTHENTICATED";
        default:
            return "UNKNOWN";
    }
}

void handle_grpc_status(const std::string& service, const std::string& method,
                        const grpc::Status& status) {
    if (status.ok()) {
        return;
    }
    const std::string message = service + "::" + method + ": " +
                                GrpcStatusCodeToString(status.error_code()) + " - [" +
                                status.error_message() + "]";
    switch (status.error_code()) {
        case grpc::StatusCode::INVALID_ARGUMENT:
            throw ServiceInvalidArgumentError(message);
        case grpc::StatusCode::DEADLINE_EXCEEDED:
            throw ServiceDeadlineError(message);
        case grpc::StatusCode::NOT_FOUND:
            throw ServiceResourceNotFoundError(message);
        case grpc::StatusCode::ALREADY_EXISTS:
            throw ServiceResourceAlreadyExists(message);
        case grpc::StatusCode::FAILED_PRECONDITION:
            throw ServiceFailedPrecondition(message);
        case grpc::StatusCode::UNIMPLEMENTED:
            throw ServiceMethodNotImplementedError(message);
        case grpc::StatusCode::INTERNAL:
            throw ServiceInternalError(message);
        case grpc::StatusCode::UNAVAILABLE:
            throw ServiceUnavailableError(message);
        default:
            throw GrpcDefaultException(message);
    }
}

bool is_recoverable_status(grpc::StatusCode code) {
    switch (code) {
        case grpc::StatusCode::CANCELLED:
        case grpc::StatusCode::UNKNOWN:
        case grpc::StatusCode::DEADLINE_EXCEEDED:
        case grpc::StatusCode::UNIMPLEMENTED:
        case grpc::StatusCode::INTERNAL:
        case grpc::StatusCode::UNAVAILABLE:
            return true;
        default:
            return false;
    }
}

}  // namespace vanta
