#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "runtime/logging/logger.h"
#include "serviceregistry.grpc.pb.h"

namespace vanta::serviceregistry {

// Socket name of the registry, in the context's root directory.
inline const std::string kServiceRegistryAddress = socket_name(device_endpoints().service_registry);
inline const std::string kServiceName = device_endpoints().service_registry.service_name;

// The service registry: backend services announce their addresses under a
// name, clients look them up.
class ServiceRegistryClient {
  public:
    virtual ~ServiceRegistryClient() = default;
    virtual void register_service(const std::string& service, const std::string& address) = 0;
    virtual void unregister_service(const std::string& service) = 0;
    // The address registered under `service`; empty if there is none or the
    // registry did not answer.
    virtual std::string get_service_address(const std::string& service) = 0;
    // Deadline of every registry call; 0 means none.
    virtual void set_timeout(std::chrono::milliseconds timeout) = 0;
    virtual std::chrono::milliseconds timeout() const = 0;
};

// Threading: used by the thread that created it.
class ServiceRegistryClientImpl final : public ServiceRegistryClient {
  public:
    // `address` is the registry's gRPC address ("unix:/tmp/serviceregistry").
    explicit ServiceRegistryClientImpl(const std::string& address);
    ServiceRegistryClientImpl(const std::string& address, const logging::Logger& logger);

    // Waits (for good) until the registry's socket exists, then registers
    // `service` at `address` with this process's id. Failures are logged.
    void register_service(const std::string& service, const std::string& address) override;
    // Failures are logged.
    void unregister_service(const std::string& service) override;
    std::string get_service_address(const std::string& service) override;
    void set_timeout(std::chrono::milliseconds timeout) override;
    std::chrono::milliseconds timeout() const override;

  private:
    void set_deadline(grpc::ClientContext& context) const;

    std::chrono::milliseconds timeout_{0};
    const std::string address_;
    const std::unique_ptr<ServiceRegistryService::Stub> stub_;
    const logging::Logger& logger_;
};

}  // namespace vanta::serviceregistry

namespace vanta {

// A registry client for the socket kServiceRegistryAddress in the process-wide
// context's root, or in `root` when the context's scope is CallerRoot and
// `root` is not empty.
std::unique_ptr<serviceregistry::ServiceRegistryClient> create_service_registry_client(
    const std::string& root);

}  // namespace vanta
