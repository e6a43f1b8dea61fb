#pragma once

// Calls to a backend by the operation's full name
// ("vanta.volumemgr.VolumeMgr.SetVolume"), with requests and answers in text
// form, for cases written as data.

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>
#include <grpcpp/generic/generic_stub.h>
#include <grpcpp/grpcpp.h>
#include <grpcpp/impl/codegen/proto_utils.h>
#include <gtest/gtest.h>

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

// `text` read as a `type`.
inline std::unique_ptr<google::protobuf::Message> parsed(const google::protobuf::Descriptor& type,
                                                         const std::string& text) {
    std::unique_ptr<google::protobuf::Message> message(
        google::protobuf::MessageFactory::generated_factory()->GetPrototype(&type)->New());
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text, message.get()))
        << type.full_name() << ": " << text;
    return message;
}

// `text` as a `type` in short text form (so that written expectations may
// quote with ' and space freely).
inline std::string normalized(const google::protobuf::Descriptor& type, const std::string& text) {
    return parsed(type, text)->ShortDebugString();
}

inline grpc::ByteBuffer buffer_of(const google::protobuf::Descriptor& type,
                                  const std::string& text) {
    grpc::ByteBuffer buffer;
    bool own = false;
    grpc::SerializationTraits<google::protobuf::Message>::Serialize(*parsed(type, text), &buffer,
                                                                    &own);
    return buffer;
}

inline std::string text_of(const google::protobuf::Descriptor& type, grpc::ByteBuffer& buffer) {
    auto message = parsed(type, "");
    EXPECT_TRUE(
        grpc::SerializationTraits<google::protobuf::Message>::Deserialize(&buffer, message.get())
            .ok());
    return message->ShortDebugString();
}

// Waits for the queue's next event: whether it went well.
inline bool next_of(grpc::CompletionQueue& queue) {
    void* tag = nullptr;
    bool ok = false;
    return queue.Next(&tag, &ok) && ok;
}

inline void drain(grpc::CompletionQueue& queue) {
    queue.Shutdown();
    void* tag = nullptr;
    bool ok = false;
    while (queue.Next(&tag, &ok)) {
    }
}

// The answer of `operation` to `request` in short text form, or
// "error <code> <message>".
inline std::string call_named(const std::shared_ptr<grpc::Channel>& channel,
                              const std::string& operation, const std::string& request = "") {
    const auto& method = method_named(operation);
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + kCallPatience);
    grpc::CompletionQueue queue;
    grpc::GenericStub stub(channel);
    auto call = stub.PrepareUnaryCall(&context, method_path(method),
                                      buffer_of(*method.input_type(), request), &queue);
    call->StartCall();
    grpc::ByteBuffer answer;
    grpc::Status status;
    call->Finish(&answer, &status, nullptr);
    next_of(queue);
    drain(queue);
    return status.ok()
               ? text_of(*method.output_type(), answer)
               : "error " + std::to_string(status.error_code()) + " " + status.error_message();
}

// A stream of `operation` opened with `request`, read one message at a time.
class NamedStream {
  public:
    NamedStream(const std::shared_ptr<grpc::Channel>& channel, const std::string& operation,
                const std::string& request = "")
        : method_(method_named(operation)) {
        context_.set_deadline(std::chrono::system_clock::now() + kCallPatience);
        stream_ = grpc::GenericStub(channel).PrepareCall(&context_, method_path(method_), &queue_);
        stream_->StartCall(nullptr);
        next_of(queue_);
        stream_->Write(buffer_of(*method_.input_type(), request), nullptr);
        next_of(queue_);
    }
    ~NamedStream() {
        context_.TryCancel();
        grpc::Status status;
        stream_->Finish(&status, nullptr);
        next_of(queue_);
        drain(queue_);
    }
    NamedStream(const NamedStream&) = delete;
    NamedStream& operator=(const NamedStream&) = delete;

    // The next message in short text form ("" once the stream has ended).
    std::string next() {
        grpc::ByteBuffer buffer;
        stream_->Read(&buffer, nullptr);
        return next_of(queue_) ? text_of(*method_.output_type(), buffer) : "";
    }
    std::vector<std::string> next(size_t count) {
        std::vector<std::string> messages;
        for (size_t i = 0; i < count; ++i) {
            messages.push_back(next());
        }
        return messages;
    }

  private:
    const google::protobuf::MethodDescriptor& method_;
    grpc::ClientContext context_;
    grpc::CompletionQueue queue_;
    std::unique_ptr<grpc::GenericClientAsyncReaderWriter> stream_;
};

}  // namespace vanta::testing
