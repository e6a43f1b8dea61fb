#pragma once

// What each unary operation answers when no backend is running: one row per
// operation, grouped by the backends that serve them. The rows are checked by
// one test (no_backend_test.cc) over a real connection to the service.

#include <functional>
#include <optional>
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
               grpc::StatusCode expected_code, std::string expected_message,
               std::optional<std::string> expected_answer = std::nullopt)
        : operation(name),
          code(expected_code),
          message(std::move(expected_message)),
          answer(std::move(expected_answer)),
          call([method](ApiStub& stub, grpc::ClientContext& context, std::string& answered) {
              Request request;
              Response response;
              const grpc::Status status = (stub.*method)(&context, request, &response);
              answered = response.ShortDebugString();
              return status;
          }) {}

    std::string operation;
    grpc::StatusCode code;
    // The whole message; one that ends in "*" is a prefix (the rest is the
    // channel's own error text).
    std::string message;
    // For an operation answered without any backend (by an in-process
    // substitute): its whole response in short text form.
    std::optional<std::string> answer;
    // Calls the operation; the response in short text form goes to the last
    // argument.
    std::function<grpc::Status(ApiStub&, grpc::ClientContext&, std::string&)> call;
};

// A row written as ROW(VolumeUp, UNAVAILABLE, "VolumeUp volumemgr client FAILED").
#define VANTA_FAILURE_ROW(operation, code, message) \
    ::vanta::testing::FailureRow(#operation, &ApiStub::operation, grpc::StatusCode::code, message)

// A row written as ANSWER_ROW(PairBluetooth, "success: true"): OK with that
// response.
#define VANTA_ANSWER_ROW(operation, answer) \
    ::vanta::testing::FailureRow(#operation, &ApiStub::operation, grpc::StatusCode::OK, "", answer)

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
