#pragma once

// Calls any unary operation of the VantaApi service by name, with the request
// and the answer in protobuf text format.

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>
#include <grpcpp/grpcpp.h>
#include <grpcpp/impl/client_unary_call.h>

#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

struct ApiAnswer {
    grpc::Status status;
    std::string response;  // short text form; empty unless the status is OK
};

inline const google::protobuf::MethodDescriptor& api_method(const std::string& operation) {
    static_cast<void>(&vantaapi::VantaApi::NewStub);  // keeps the schema linked in
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName("vantaapi.VantaApi");
    const auto* method = service->FindMethodByName(operation);
    if (method == nullptr) {
        throw std::invalid_argument("no API operation " + operation);
    }
    return *method;
}

// A message of `type` read from `text`; throws std::invalid_argument when it
// does not parse.
inline std::unique_ptr<google::protobuf::Message> parse_text(
    const google::protobuf::Descriptor* type, const std::string& text) {
    std::unique_ptr<google::protobuf::Message> message(
        google::protobuf::MessageFactory::generated_factory()->GetPrototype(type)->New());
    if (!google::protobuf::TextFormat::ParseFromString(text, message.get())) {
        throw std::invalid_argument("not a " + type->full_name() + ": " + text);
    }
    return message;
}

// The answer of `operation` written as text, in the short text form answers
// are given in.
inline std::string normalized_answer(const std::string& operation, const std::string& text) {
    return parse_text(api_method(operation).output_type(), text)->ShortDebugString();
}

inline ApiAnswer call_api(grpc::Channel& channel, const std::string& operation,
                          const std::string& request_text) {
    const auto& method = api_method(operation);
    const auto request = parse_text(method.input_type(), request_text);
    const auto response = parse_text(method.output_type(), "");
    const std::string path = "/vantaapi.VantaApi/" + operation;
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(20));
    ApiAnswer answer;
    answer.status =
        grpc::internal::BlockingUnaryCall<google::protobuf::Message, google::protobuf::Message,
                                          google::protobuf::MessageLite,
                                          google::protobuf::MessageLite>(
            &channel,
            grpc::internal::RpcMethod(path.c_str(), grpc::internal::RpcMethod::NORMAL_RPC),
            &context, *request, response.get());
    if (answer.status.ok()) {
        answer.response = response->ShortDebugString();
    }
    return answer;
}

}  // namespace vanta::testing
