#pragma once

// Calls to a backend by the operation's full name
// ("vanta.volumemgr.VolumeMgr.SetVolume"), with requests and answers in text
// form, for cases written as data. The calls are those that generated stubs
// make, on messages of the operation's own types.

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>
#include <grpcpp/grpcpp.h>
#include <grpcpp/impl/client_unary_call.h>
#include <grpcpp/impl/codegen/proto_utils.h>
#include <grpcpp/support/sync_stream.h>

namespace vanta::testing {

constexpr std::chrono::seconds kCallPatience{10};

inline const google::protobuf::MethodDescriptor& method_named(const std::string& operation) {
    const auto* method =
        google::protobuf::DescriptorPool::generated_pool()->FindMethodByName(operation);
    if (method == nullptr) {
        throw std::invalid_argument("no operation " + operation);
    }
    return *method;
}

// "/vanta.volumemgr.VolumeMgr/SetVolume"
inline std::string method_path(const google::protobuf::MethodDescriptor& method) {
    return "/" + method.service()->full_name() + "/" + method.name();
}

// `text` read as a `type`; throws std::invalid_argument when it does not
// parse.
inline std::unique_ptr<google::protobuf::Message> parsed(const google::protobuf::Descriptor& type,
                                                         const std::string& text) {
    std::unique_ptr<google::protobuf::Message> message(
        google::protobuf::MessageFactory::generated_factory()->GetPrototype(&type)->New());
    if (!google::protobuf::TextFormat::ParseFromString(text, message.get())) {
        throw std::invalid_argument("not a " + type.full_name() + ": " + text);
    }
    return message;
}

// `text` as a `type` in short text form (so that written expectations may
// quote with ' and space freely).
inline std::string normalized(const google::protobuf::Descriptor& type, const std::string& text) {
    return parsed(type, text)->ShortDebugString();
}

struct NamedAnswer {
    grpc::Status status;
    std::string response;  // short text form; empty unless the status is OK
};

// The answer of `method` to `request` (text form), waited for `patience`.
inline NamedAnswer answer_of(grpc::ChannelInterface& channel,
                             const google::protobuf::MethodDescriptor& method,
                             const std::string& request,
                             std::chrono::seconds patience = kCallPatience) {
    const std::string path = method_path(method);
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + patience);
    const auto answer = parsed(*method.output_type(), "");
    NamedAnswer named;
    named.status = grpc::internal::BlockingUnaryCall(
        &channel, grpc::internal::RpcMethod(path.c_str(), grpc::internal::RpcMethod::NORMAL_RPC),
        &context, *parsed(*method.input_type(), request), answer.get());
    if (named.status.ok()) {
        named.response = answer->ShortDebugString();
    }
    return named;
}

// The answer of `operation` to `request` in short text form, or
// "error <code> <message>".
inline std::string call_named(const std::shared_ptr<grpc::Channel>& channel,
                              const std::string& operation, const std::string& request = "") {
    const NamedAnswer answer = answer_of(*channel, method_named(operation), request);
    return answer.status.ok() ? answer.response
                              : "error " + std::to_string(answer.status.error_code()) + " " +
                                    answer.status.error_message();
}

// A stream of `operation` opened with `request`, read one message at a time.
class NamedStream {
  public:
    NamedStream(const std::shared_ptr<grpc::Channel>& channel, const std::string& operation,
                const std::string& request = "")
        : method_(method_named(operation)), path_(method_path(method_)) {
        context_.set_deadline(std::chrono::system_clock::now() + kCallPatience);
        stream_.reset(Factory::Create(
            channel.get(),
            grpc::internal::RpcMethod(path_.c_str(), grpc::internal::RpcMethod::BIDI_STREAMING),
            &context_));
        stream_->Write(*parsed(*method_.input_type(), request));
    }
    ~NamedStream() {
        context_.TryCancel();
        stream_->Finish();
    }
    NamedStream(const NamedStream&) = delete;
    NamedStream& operator=(const NamedStream&) = delete;

    // The next message in short text form ("" once the stream has ended).
    std::string next() {
        const auto message = parsed(*method_.output_type(), "");
        return stream_->Read(message.get()) ? message->ShortDebugString() : "";
    }
    std::vector<std::string> next(size_t count) {
        std::vector<std::string> messages;
        for (size_t i = 0; i < count; ++i) {
            messages.push_back(next());
        }
        return messages;
    }

  private:
    using Factory = grpc::internal::ClientReaderWriterFactory<google::protobuf::Message,
                                                              google::protobuf::Message>;

    const google::protobuf::MethodDescriptor& method_;
    // The call refers to its path while it runs.
    const std::string path_;
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<google::protobuf::Message, google::protobuf::Message>>
        stream_;
};

}  // namespace vanta::testing
