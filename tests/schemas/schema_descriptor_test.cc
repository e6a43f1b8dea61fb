// Checks the generated descriptors against the shape that clients of the
// API and the backends depend on: operation order and streaming, event case
// numbers and payloads, and every backend service with its operations. The
// schema libraries are linked whole, so every file is in the generated pool
// without being included here.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/descriptor.h>
#include <gtest/gtest.h>

#include "metricsdispatch.grpc.pb.h"
#include "vantaapi.grpc.pb.h"

namespace {

using google::protobuf::DescriptorPool;
using google::protobuf::FieldDescriptor;
using google::protobuf::MethodDescriptor;
using google::protobuf::ServiceDescriptor;

struct Operation {
    const char* name;
    const char* request;
    const char* response;
};

const std::vector<Operation> kOperations = {
#include "vantaapi_operations.inc"
};

struct EventCase {
    int number;
    const char* name;
    const char* payload;
};

const std::vector<EventCase> kEventCases = {
#include "vantaapi_event_cases.inc"
};

struct BackendService {
    const char* name;
    std::vector<std::string> methods;
};

const std::vector<BackendService> kBackendServices = {
#include "backend_services.inc"
};

const DescriptorPool& pool() {
    return *DescriptorPool::generated_pool();
}

const ServiceDescriptor* api_service() {
    // The service lives in the file of its two small messages; asking one of
    // them for its descriptor loads that file into the generated pool.
    return vantaapi::StatusRequest::descriptor()->file()->FindServiceByName("VantaApi");
}

}  // namespace

TEST(ApiSchema, ServiceHasEveryOperationInOrderWithItsTypes) {
    const ServiceDescriptor* service = api_service();
    ASSERT_NE(service, nullptr);
    ASSERT_EQ(service->full_name(), "vantaapi.VantaApi");
    ASSERT_EQ(service->method_count(), 217);
    ASSERT_EQ(kOperations.size(), 217u);
    for (int i = 0; i < service->method_count(); ++i) {
        const MethodDescriptor* method = service->method(i);
        SCOPED_TRACE(method->name());
        EXPECT_EQ(method->name(), kOperations[i].name) << "operation " << i;
        EXPECT_EQ(method->input_type()->full_name(), kOperations[i].request);
        EXPECT_EQ(method->output_type()->full_name(), kOperations[i].response);
        const bool is_subscribe = method->name() == "Subscribe";
        EXPECT_EQ(method->client_streaming(), is_subscribe);
        EXPECT_EQ(method->server_streaming(), is_subscribe);
    }
}

TEST(ApiSchema, FilesHoldWhatClientsImport) {
    EXPECT_EQ(api_service()->file()->name(), "vantaapi.proto");
    EXPECT_EQ(vantaapi::VantaEvent::descriptor()->file()->name(), "vantaapievents.proto");
    EXPECT_EQ(vantaapi::SubscriptionRequest::descriptor()->file()->name(),
              "vantaapimessages.proto");
    EXPECT_EQ(vantaapi::VantaEvent::descriptor()->file()->message_type_count(), 1);
    for (const auto* file : {api_service()->file(), vantaapi::VantaEvent::descriptor()->file(),
                             vantaapi::SubscriptionRequest::descriptor()->file()}) {
        EXPECT_EQ(file->package(), "vantaapi");
        EXPECT_EQ(file->syntax(), google::protobuf::FileDescriptor::SYNTAX_PROTO3);
    }
}

TEST(ApiSchema, EventUnionHasEveryCaseAtItsNumber) {
    const auto* event = vantaapi::VantaEvent::descriptor();
    ASSERT_EQ(event->oneof_decl_count(), 1);
    const auto* data = event->oneof_decl(0);
    EXPECT_EQ(data->name(), "data");
    EXPECT_EQ(event->field_count(), 68) << "VantaEvent has no fields outside the union";
    EXPECT_EQ(data->field_count(), 68);
    for (const auto& expected : kEventCases) {
        const FieldDescriptor* field = event->FindFieldByNumber(expected.number);
        ASSERT_NE(field, nullptr) << expected.name;
        EXPECT_EQ(field->name(), expected.name);
        EXPECT_EQ(field->containing_oneof(), data);
        ASSERT_EQ(field->type(), FieldDescriptor::TYPE_MESSAGE) << expected.name;
        EXPECT_EQ(field->message_type()->full_name(), expected.payload);
    }
    for (int unused : {1, 6, 10, 12, 29, 33, 34, 36, 63}) {
        EXPECT_EQ(event->FindFieldByNumber(unused), nullptr) << unused;
    }
}

TEST(ApiSchema, SampleMessagesKeepTheirWireFields) {
    struct Field {
        const char* message;
        int number;
        const char* name;
        FieldDescriptor::Type type;
        bool repeated;
    };
    const std::vector<Field> fields = {
        {"vantaapi.AccountState", 2, "activation_state", FieldDescriptor::TYPE_MESSAGE, false},
        {"vantaapi.AccountStateList", 1, "state_list", FieldDescriptor::TYPE_MESSAGE, true},
        {"vantaapi.KrellActivationRequest", 1, "tftp_ip_address", FieldDescriptor::TYPE_STRING,
         true},
        {"vantaapi.OrvaActivationRequest", 3, "proxy", FieldDescriptor::TYPE_STRING, false},
        {"vantaapi.PostponeDownloadRequest", 1, "postpone_seconds", FieldDescriptor::TYPE_INT32,
         false},
        {"vantaapi.RequestStatus", 1, "success", FieldDescriptor::TYPE_BOOL, false},
        {"vantaapi.SubscriptionRequest", 1, "unsubscribe", FieldDescriptor::TYPE_BOOL, false},
    };
    for (const auto& f : fields) {
        const auto* message = pool().FindMessageTypeByName(f.message);
        ASSERT_NE(message, nullptr) << f.message;
        const auto* field = message->FindFieldByNumber(f.number);
        ASSERT_NE(field, nullptr) << f.message << " #" << f.number;
        EXPECT_EQ(field->name(), f.name);
        EXPECT_EQ(field->type(), f.type) << f.message << "." << f.name;
        EXPECT_EQ(field->is_repeated(), f.repeated) << f.message << "." << f.name;
    }
    const auto* details = pool().FindMessageTypeByName("vantaapi.AccountDetails");
    ASSERT_NE(details, nullptr);
    ASSERT_EQ(details->oneof_decl_count(), 1);
    EXPECT_EQ(details->oneof_decl(0)->name(), "data");
    EXPECT_EQ(details->oneof_decl(0)->field_count(), 3);
}

TEST(BackendSchemas, EveryServiceHasItsOperationsInOrder) {
    ASSERT_EQ(kBackendServices.size(), 35u);
    for (const auto& expected : kBackendServices) {
        const ServiceDescriptor* service = pool().FindServiceByName(expected.name);
        ASSERT_NE(service, nullptr) << expected.name;
        std::vector<std::string> methods;
        for (int i = 0; i < service->method_count(); ++i) {
            methods.push_back(service->method(i)->name());
        }
        EXPECT_EQ(methods, expected.methods) << expected.name;
        if (const auto* subscribe = service->FindMethodByName("Subscribe")) {
            EXPECT_TRUE(subscribe->server_streaming()) << expected.name;
        }
    }
}

TEST(BackendSchemas, MetricRecordKeepsItsWireFields) {
    const auto* metric = vanta::metricsdispatch::Metric::descriptor();
    EXPECT_TRUE(metric->FindFieldByNumber(1)->is_repeated());
    EXPECT_EQ(metric->FindFieldByNumber(1)->enum_type()->full_name(),
              "vanta.metricsdispatch.EventType");
    EXPECT_EQ(metric->FindFieldByNumber(9)->name(), "context_data");
    EXPECT_EQ(vanta::metricsdispatch::EventType_descriptor()->FindValueByName("NONE")->number(),
              10);
}
