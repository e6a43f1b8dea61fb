#include "clients/common/unary_call.h"

#include <stdexcept>

namespace vanta::clients::detail {

bool is_recoverable(grpc::StatusCode code) {
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

void report_style_a_failure(const UnaryCall& call, const grpc::Status& status) {
    const std::string code = GrpcStatusCodeToString(status.error_code());
    const std::string format =
        std::string(call.operation) + " request failed, grpc error: {}, code: {}";
    const std::string& message = status.error_message();
    call.logger.print_error(format, fmt::format_args(fmt::make_format_args(message, code)));
    if (!is_recoverable(status.error_code())) {
        throw std::runtime_error(std::string(call.operation) +
                                 ": unrecoverable grpc error: " + code);
    }
}

}  // namespace vanta::clients::detail
