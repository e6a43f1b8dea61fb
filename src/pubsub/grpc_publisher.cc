#include "pubsub/grpc_publisher.h"

#include <stdexcept>

#include <grpcpp/client_context.h>

#include "pubsub/bus_channel.h"
#include "rpc/client/grpc_exceptions.h"

namespace vanta::pubsub {

GrpcPublisher::GrpcPublisher(const std::string& address, const logging::Logger& logger)
    : logger_(logger), stub_(PublishService::NewStub(create_bus_channel(address))) {}

PublishResponse GrpcPublisher::Publish(const PublishRequest& request) {
    grpc::ClientContext context;
    const std::chrono::milliseconds deadline = timeout_;
    if (deadline >= std::chrono::milliseconds(1)) {
        context.set_deadline(std::chrono::system_clock::now() + deadline);
    }
    PublishResponse response;
    const grpc::Status status = stub_->Publish(&context, request, &response);
    if (status.ok()) {
        return response;
    }
    const std::string code = GrpcStatusCodeToString(status.error_code());
    logger_.error("Grpc Publish failed, grpc error: {}, code: {}", status.error_message(), code);
    if (!is_recoverable_status(status.error_code())) {
        throw std::runtime_error("Publish: unrecoverable grpc error: " + code);
    }
    PublishResponse failure;
    failure.set_success(false);
    failure.set_reason("Grpc Publish failed, grpc error: " + status.error_message() +
                       " code: " + code);
    return failure;
}

std::chrono::milliseconds GrpcPublisher::timeout() const {
    return timeout_;
}

void GrpcPublisher::set_timeout(std::chrono::milliseconds timeout) {
    timeout_ = timeout;
}

}  // namespace vanta::pubsub
