#pragma once

// What each unary operation answers when no backend is running: one row per
// operation, grouped by the backends that serve them. The rows are checked by
// one test (no_backend_test.cc) over a real connection to the service.

#include <functional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

using ApiStub = vantaapi::VantaApi::Stub;

struct FailureRow {
    // Calls the operation with a default request.
    template <typename Request, typename Response>
    FailureRow(const char* name,
               grpc::Status (ApiStub::*method)(grpc::ClientContext*, const Request&, Response*),
               grpc::StatusCode expected_code, std::string expected_message)
        : operation(name),
          code(expected_code),
          message(std::move(expected_message)),
          call([method](ApiStub& stub, grpc::ClientContext& context) {
              Request request;
              Response response;
              return (stub.*method)(&context, request, &response);
          }) {}

    std::string operation;
    grpc::StatusCode code;
    // The whole message; one that ends in "*" is a prefix (the rest is the
    // channel's own error text).
    std::string message;
    std::function<grpc::Status(ApiStub&, grpc::ClientContext&)> call;
};

// A row written as ROW(VolumeUp, UNAVAILABLE, "VolumeUp volumemgr client FAILED").
#define VANTA_FAILURE_ROW(operation, code, message) \
    ::vanta::testing::FailureRow(#operation, &ApiStub::operation, grpc::StatusCode::code, message)

// Operations answered without a backend: bus, plugins.
std::vector<FailureRow> service_failure_rows();
// Call control.
std::vector<FailureRow> calling_failure_rows();

// Audio, ringer, reset, system, screen, HDMI input, 802.1X, upgrades, features.
std::vector<FailureRow> devices_failure_rows();

// Network, Wi-Fi, access point, configuration, ultrasound, avatar, media session.
std::vector<FailureRow> network_failure_rows();

// Platform, problem reports, tones.
std::vector<FailureRow> platform_failure_rows();

}  // namespace vanta::testing
