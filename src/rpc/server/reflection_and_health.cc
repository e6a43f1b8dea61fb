#include "rpc/server/reflection_and_health.h"

#include <grpcpp/ext/proto_server_reflection_plugin.h>
#include <grpcpp/health_check_service_interface.h>
#include <grpcpp/impl/server_builder_plugin.h>
#include <grpcpp/impl/server_initializer.h>

namespace vanta {
namespace {

// The plugin behind record_service_names(): gRPC hands plugins the list of
// registered services once the server has started.
class ServiceNamesPlugin final : public grpc::ServerBuilderPlugin {
  public:
    explicit ServiceNamesPlugin(std::vector<std::string>& names) : names_(names) {}

    std::string name() override { return "vanta_service_names"; }
    void InitServer(grpc::ServerInitializer* /*initializer*/) override {}
    void Finish(grpc::ServerInitializer* initializer) override {
        names_ = *initializer->GetServiceList();
    }
    void ChangeArguments(const std::string& /*name*/, void* /*value*/) override {}

  private:
    std::vector<std::string>& names_;
};

class ServiceNamesOption final : public grpc::ServerBuilderOption {
  public:
    explicit ServiceNamesOption(std::vector<std::string>& names) : names_(names) {}

    void UpdateArguments(grpc::ChannelArguments* /*arguments*/) override {}
    void UpdatePlugins(std::vector<std::unique_ptr<grpc::ServerBuilderPlugin>>* plugins) override {
        plugins->push_back(std::make_unique<ServiceNamesPlugin>(names_));
    }

  private:
    std::vector<std::string>& names_;
};

}  // namespace

void enable_reflection_and_health() {
    // Both only set process-wide switches; repeating them changes nothing.
    grpc::reflection::InitProtoReflectionServerBuilderPlugin();
    grpc::EnableDefaultHealthCheckService(true);
}

std::unique_ptr<grpc::ServerBuilderOption> record_service_names(std::vector<std::string>& names) {
    return std::make_unique<ServiceNamesOption>(names);
}

void mark_serving(grpc::Server& server, const std::vector<std::string>& names) {
    grpc::HealthCheckServiceInterface* health = server.GetHealthCheckService();
    if (health == nullptr) {
        return;
    }
    health->SetServingStatus("", true);
    for (const std::string& name : names) {
        health->SetServingStatus(name, true);
    }
}

void mark_not_serving(grpc::Server& server) {
    if (grpc::HealthCheckServiceInterface* health = server.GetHealthCheckService()) {
        health->Shutdown();
    }
}

}  // namespace vanta
