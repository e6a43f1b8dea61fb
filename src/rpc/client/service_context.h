#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::serviceregistry {

// Where a registry client finds the registry's socket.
enum class ContextScope {
    // Always in the process-wide root directory.
    ProcessWide = 0,
    // In the directory that create_service_registry_client() is given, when it
    // is given one; otherwise in the process-wide root.
    CallerRoot = 1,
};

// The directory that holds the services' sockets.
class ServiceContext {
  public:
    virtual ~ServiceContext() = default;
    virtual std::string root() const = 0;
    virtual ContextScope scope() const = 0;
    virtual void set_scope(ContextScope scope) = 0;
};

class ServiceContextImpl final : public ServiceContext {
  public:
    explicit ServiceContextImpl(std::string root = kDeviceSocketDirectory)
        : root_(std::move(root)) {}

    std::string root() const override { return root_; }
    ContextScope scope() const override { return scope_; }
    void set_scope(ContextScope scope) override { scope_ = scope; }

  private:
    const std::string root_;
    std::atomic<ContextScope> scope_{ContextScope::ProcessWide};
};

}  // namespace vanta::serviceregistry

namespace vanta {

// The process-wide context (root "/tmp/", scope ProcessWide), created on first
// use and shared afterwards.
std::shared_ptr<serviceregistry::ServiceContext> get_service_context();
// Drops the process-wide context; the next get_service_context() makes a new one.
void destroy_service_context();

}  // namespace vanta
