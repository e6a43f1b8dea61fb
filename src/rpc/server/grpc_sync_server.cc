#include "rpc/server/grpc_sync_server.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>
#include <vector>

#include <fmt/format.h>
#include <grpcpp/security/server_credentials.h>
#include <grpcpp/server_builder.h>

#include "rpc/server/chmod.h"
#include "rpc/server/reflection_and_health.h"

namespace vanta {
namespace {

constexpr char kUnixScheme[] = "unix:";
constexpr std::string::size_type kUnixSchemeLength = sizeof(kUnixScheme) - 1;

bool has_white_space(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

int socket_mode(GrpcServer::AccessLevel level) {
    switch (level) {
        case GrpcServer::AccessLevel::OwnerWrite:
            return 0644;
        case GrpcServer::AccessLevel::GroupWrite:
            return 0664;
        case GrpcServer::AccessLevel::AllWrite:
            return 0666;
        case GrpcServer::AccessLevel::Unchanged:
            break;
    }
    throw std::invalid_argument("Unknown socket access level");
}

}  // namespace

GrpcSyncServer::GrpcSyncServer(std::unique_ptr<grpc::Service> service, std::string address,
                               std::chrono::milliseconds shutdown_timeout,
                               std::function<void()> before_shutdown)
    : service_(std::move(service)),
      address_(std::move(address)),
      shutdown_timeout_(shutdown_timeout),
      before_shutdown_(std::move(before_shutdown)) {
    if (has_white_space(address_)) {
        throw std::runtime_error(
            fmt::format("Aborting service launch due to invalid address: '{}'", address_));
    }
    if (!service_) {
        throw std::invalid_argument("Service server needs a service");
    }
}

GrpcSyncServer::~GrpcSyncServer() {
    if (server_) {
        mark_not_serving(*server_);
        if (before_shutdown_) {
            before_shutdown_();
        }
        server_->Shutdown(std::chrono::system_clock::now() + shutdown_timeout_);
    }
    if (wait_thread_.joinable()) {
        wait_thread_.join();
    }
    // gRPC requires the service to outlive the server.
    server_.reset();
    service_.reset();
    address_.clear();
}

void GrpcSyncServer::run(AccessLevel level) {
    if (started_) {
        return;
    }
    const bool open_up = level != AccessLevel::Unchanged;
    const int mode = open_up ? socket_mode(level) : 0;

    // A server left by a run that failed after building it is reused: gRPC
    // takes a service only once.
    if (!server_) {
        enable_reflection_and_health();
        grpc::ServerBuilder builder;
        builder.AddListeningPort(address_, grpc::InsecureServerCredentials());
        builder.RegisterService(service_.get());
        std::vector<std::string> service_names;
        builder.SetOption(record_service_names(service_names));
        // gRPC ends a request thread once more than MAX_POLLERS wait for work
        // (2 by default) and starts a new one for the next busy moment: with a
        // few clients at once, threads were made and ended on every burst.
        builder.SetSyncServerOption(grpc::ServerBuilder::SyncServerOption::MAX_POLLERS, 8);
        server_ = builder.BuildAndStart();
        if (!server_) {
            throw std::runtime_error("Unable to build and start service server");
        }
        mark_serving(*server_, service_names);
    }

    // Only a Unix socket has a file whose mode can be set.
    if (open_up && address_.rfind(kUnixScheme, 0) == 0) {
        if (!vanta::chmod(address_.substr(kUnixSchemeLength), mode)) {
            throw std::runtime_error("Failed to set socket permissions");
        }
    }

    wait_thread_ = std::thread([server = server_.get()] { server->Wait(); });
    started_ = true;
}

}  // namespace vanta
