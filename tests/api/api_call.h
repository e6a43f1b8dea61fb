#pragma once

// Calls any unary operation of the VantaApi service by name, with the request
// and the answer in protobuf text format (the calls by name of the simulated
// device's tests, on the API's schema).

#include <chrono>
#include <memory>
#include <string>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <grpcpp/grpcpp.h>

#include "support/named_calls.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

using ApiAnswer = NamedAnswer;

inline const google::protobuf::MethodDescriptor& api_method(const std::string& operation) {
    static_cast<void>(&vantaapi::VantaApi::NewStub);  // keeps the schema linked in
    return method_named("vantaapi.VantaApi." + operation);
}

// The answer of `operation` written as text, in the short text form answers
// are given in.
inline std::string normalized_answer(const std::string& operation, const std::string& text) {
    return normalized(*api_method(operation).output_type(), text);
}

inline ApiAnswer call_api(grpc::Channel& channel, const std::string& operation,
                          const std::string& request_text) {
    return answer_of(channel, api_method(operation), request_text, std::chrono::seconds(20));
}

}  // namespace vanta::testing
