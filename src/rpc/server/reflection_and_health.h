#pragma once

#include <memory>
#include <string>
#include <vector>

#include <grpcpp/impl/server_builder_option.h>
#include <grpcpp/server.h>

namespace vanta {

// Generic gRPC tools discover and probe our servers through gRPC's server
// reflection and its standard health service ("grpc.health.v1.Health").
//
// Both are switched on process-wide: every server built after the first call
// serves them. REQUIRES: called before the server's ServerBuilder is made, from
// the thread that builds servers.
void enable_reflection_and_health();

// A builder option that writes the names of the services the server is built
// with into `names` when the server starts.
std::unique_ptr<grpc::ServerBuilderOption> record_service_names(std::vector<std::string>& names);

// Marks every named service of a started server, and the server as a whole,
// SERVING in its health service.
void mark_serving(grpc::Server& server, const std::vector<std::string>& names);

// Turns every health status of the server to NOT_SERVING for good: watchers
// learn that the server is going away before it refuses calls.
void mark_not_serving(grpc::Server& server);

}  // namespace vanta
