#include "clients/common/unary_call.h"

#include <stdexcept>

#include "runtime/logging/log_concealer.h"

namespace vanta::clients::detail {

void report_style_a_failure(const UnaryCall& call, const grpc::Status& status) {
    const std::string code = GrpcStatusCodeToString(status.error_code());
    const std::string format =
        std::string(call.operation) + " request failed, grpc error: {}, code: {}";
    const std::string message = call.personal_values && logconcealer::pii_mode_enabled()
                                    ? logconcealer::generate_conceal_text(status.error_message())
                                    : status.error_message();
    call.logger.print_error(format, fmt::format_args(fmt::make_format_args(message, code)));
    if (!is_recoverable_status(status.error_code())) {
        throw std::runtime_error(std::string(call.operation) +
                                 ": unrecoverable grpc error: " + code);
    }
}

}  // namespace vanta::clients::detail
