#include "api_caller.h"

#include <chrono>
#include <stdexcept>
#include <utility>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/dynamic_message.h>
#include <google/protobuf/util/json_util.h>
#include <grpcpp/generic/generic_stub.h>
#include <grpcpp/support/byte_buffer.h>

#include "json_request.h"
#include "name_suggestions.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::cli {

namespace {

using google::protobuf::Message;
using google::protobuf::MethodDescriptor;

const google::protobuf::ServiceDescriptor& api_service() {
    // Referencing the generated service keeps its descriptor linked in.
    static_cast<void>(&vantaapi::VantaApi::NewStub);
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName("vantaapi.VantaApi");
    if (service == nullptr) {
        throw std::logic_error("the VantaApi schema is not linked in");
    }
    return *service;
}

std::vector<const MethodDescriptor*> unary_methods() {
    std::vector<const MethodDescriptor*> methods;
    const auto& service = api_service();
    for (int i = 0; i < service.method_count(); ++i) {
        const MethodDescriptor* method = service.method(i);
        if (!method->client_streaming() && !method->server_streaming()) {
            methods.push_back(method);
        }
    }
    return methods;
}

std::unique_ptr<Message> new_message(const google::protobuf::Descriptor* type) {
    return std::unique_ptr<Message>(
        google::protobuf::MessageFactory::generated_factory()->GetPrototype(type)->New());
}

grpc::ByteBuffer serialize(const Message& message) {
    const std::string bytes = message.SerializeAsString();
    grpc::Slice slice(bytes);
    return grpc::ByteBuffer(&slice, 1);
}

bool parse(const grpc::ByteBuffer& buffer, Message& message) {
    std::vector<grpc::Slice> slices;
    if (!buffer.Dump(&slices).ok()) {
        return false;
    }
    std::string bytes;
    for (const auto& slice : slices) {
        bytes.append(reinterpret_cast<const char*>(slice.begin()), slice.size());
    }
    return message.ParseFromString(bytes);
}

}  // namespace

ApiCaller::ApiCaller(Peer daemon) : daemon_(std::move(daemon)) {}

std::string ApiCaller::call(const std::string& operation, const std::string& request_json) {
    const MethodDescriptor* method = api_service().FindMethodByName(operation);
    if (method == nullptr || method->client_streaming() || method->server_streaming()) {
        throw UsageError(unknown_name_text("operation", operation, operation_names(),
                                           "`vanta-cli list` shows them all"));
    }
    const auto request = new_message(method->input_type());
    parse_json_request(request_json, *request);

    grpc::GenericStub stub(daemon_.channel);
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(30));
    grpc::CompletionQueue queue;
    const std::string path = "/" + api_service().full_name() + "/" + method->name();
    auto reader = stub.PrepareUnaryCall(&context, path, serialize(*request), &queue);
    reader->StartCall();
    grpc::ByteBuffer reply;
    grpc::Status status;
    reader->Finish(&reply, &status, reinterpret_cast<void*>(1));
    void* tag = nullptr;
    bool ok = false;
    queue.Next(&tag, &ok);
    queue.Shutdown();
    while (queue.Next(&tag, &ok)) {
    }
    throw_unless_ok(status, daemon_);
    const auto response = new_message(method->output_type());
    if (!parse(reply, *response)) {
        throw CallFailed("INTERNAL: the daemon's answer is not a " +
                         method->output_type()->full_name());
    }
    google::protobuf::util::JsonPrintOptions options;
    options.add_whitespace = true;
    options.always_print_primitive_fields = true;
    std::string json;
    google::protobuf::util::MessageToJsonString(*response, &json, options);
    return json;
}

std::vector<std::string> ApiCaller::operations() {
    std::vector<std::string> names;
    for (const MethodDescriptor* method : unary_methods()) {
        names.push_back(method->name() + "(" + method->input_type()->full_name() + ") -> " +
                        method->output_type()->full_name());
    }
    return names;
}

std::vector<std::string> ApiCaller::operation_names() {
    std::vector<std::string> names;
    for (const MethodDescriptor* method : unary_methods()) {
        names.push_back(method->name());
    }
    return names;
}

}  // namespace vanta::cli
