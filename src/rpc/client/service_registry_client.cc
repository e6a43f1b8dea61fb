#include "rpc/client/service_registry_client.h"

#include <unistd.h>

#include <grpcpp/client_context.h>
#include <grpcpp/create_channel.h>
#include <grpcpp/security/credentials.h>

#include "rpc/client/grpc_exceptions.h"
#include "rpc/client/service_context.h"
#include "rpc/client/service_health.h"
#include "runtime/logging/loggers.h"

namespace vanta::serviceregistry {

ServiceRegistryClientImpl::ServiceRegistryClientImpl(const std::string& address)
    : ServiceRegistryClientImpl(address, logging::getLogger("ServiceRegistryClientImpl")) {}

ServiceRegistryClientImpl::ServiceRegistryClientImpl(const std::string& address,
                                                     const logging::Logger& logger)
    : address_(address),
      stub_(ServiceRegistryService::NewStub(
          grpc::CreateChannel(address, grpc::InsecureChannelCredentials()))),
      logger_(logger) {}

void ServiceRegistryClientImpl::register_service(const std::string& service,
                                                 const std::string& address) {
    while (!check_service_health(address_, logger_, false)) {
        logger_.info("wait for ServiceRegistry service...");
    }
    RegisterServiceRequest request;
    request.set_service(service);
    request.set_address(address);
    request.set_pid(static_cast<std::int32_t>(getpid()));
    RegistrationResult result;
    grpc::ClientContext context;
    set_deadline(context);
    const grpc::Status status = stub_->RegisterService(&context, request, &result);
    if (!status.ok()) {
        logger_.error("register_service failed for {}, grpc error: {}, code: {}", service,
                      status.error_message(), GrpcStatusCodeToString(status.error_code()));
    }
}

void ServiceRegistryClientImpl::unregister_service(const std::string& service) {
    ServiceRequest request;
    request.set_service(service);
    RegistrationResult result;
    grpc::ClientContext context;
    set_deadline(context);
    const grpc::Status status = stub_->UnregisterService(&context, request, &result);
    if (!status.ok()) {
        logger_.error("unregister_service failed for {}, grpc error: {}, code: {}", service,
                      status.error_message(), GrpcStatusCodeToString(status.error_code()));
    }
}

std::string ServiceRegistryClientImpl::get_service_address(const std::string& service) {
    ServiceRequest request;
    request.set_service(service);
    ServiceData data;
    grpc::ClientContext context;
    set_deadline(context);
    const grpc::Status status = stub_->GetService(&context, request, &data);
    // An answer for another name is someone else's entry, not ours.
    if (!status.ok() || data.service() != service) {
        return {};
    }
    return data.address();
}

void ServiceRegistryClientImpl::set_timeout(std::chrono::milliseconds timeout) {
    timeout_ = timeout;
}

std::chrono::milliseconds ServiceRegistryClientImpl::timeout() const {
    return timeout_;
}

void ServiceRegistryClientImpl::set_deadline(grpc::ClientContext& context) const {
    if (timeout_ >= std::chrono::milliseconds(1)) {
        context.set_deadline(std::chrono::system_clock::now() + timeout_);
    }
}

}  // namespace vanta::serviceregistry

namespace vanta {

std::unique_ptr<serviceregistry::ServiceRegistryClient> create_service_registry_client(
    const std::string& root) {
    const auto context = get_service_context();
    std::string directory = context->root();
    if (context->scope() == serviceregistry::ContextScope::CallerRoot && !root.empty()) {
        directory = root;
    }
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return std::make_unique<serviceregistry::ServiceRegistryClientImpl>(
        "unix:" + directory + serviceregistry::kServiceRegistryAddress);
}

}  // namespace vanta
