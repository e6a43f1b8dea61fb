// Checks the generated descriptors against the shape that clients of the
// API and the backends depend on: operation order and streaming, event case
// numbers and payloads, every backend service with its operations, and
// sample fields read off the wire (the data files beside this test). The
// schema libraries are linked whole, so every file is in the generated pool
// without being included here.

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/descriptor.h>
#include <gtest/gtest.h>

#include "metricsdispatch.grpc.pb.h"
#include "support/data_files.h"
#include "vantaapi.grpc.pb.h"

namespace {

using google::protobuf::DescriptorPool;
using google::protobuf::FieldDescriptor;
using google::protobuf::MethodDescriptor;
using google::protobuf::ServiceDescriptor;

// The rows of the data file `name` (in VANTA_SCHEMA_ROWS_DIR), each split at
// blanks; lines starting with '#' are comments.
std::vector<std::vector<std::string>> rows_of(const std::string& name) {
    std::istringstream file(
        vanta::testing::read_text(std::string(VANTA_SCHEMA_ROWS_DIR) + "/" + name));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::vector<std::string> row{std::istream_iterator<std::string>(words), {}};
        if (!row.empty() && row[0][0] != '#') {
            rows.push_back(row);
        }
    }
    return rows;
}

// A field's type as the rows name it: the full name of a message or an
// enumeration, else the scalar type's ("int32").
std::string type_of(const FieldDescriptor& field) {
    if (field.message_type() != nullptr) {
        return field.message_type()->full_name();
    }
    return field.enum_type() != nullptr ? field.enum_type()->full_name() : field.type_name();
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
    // Each row: name, request type, response type.
    const auto operations = rows_of("vantaapi_operations.txt");
    ASSERT_EQ(service->method_count(), 217);
    ASSERT_EQ(operations.size(), 217u);
    for (int i = 0; i < service->method_count(); ++i) {
        const MethodDescriptor* method = service->method(i);
        SCOPED_TRACE(method->name());
        ASSERT_EQ(operations[i].size(), 3u);
        EXPECT_EQ(method->name(), operations[i][0]) << "operation " << i;
        EXPECT_EQ(method->input_type()->full_name(), operations[i][1]);
        EXPECT_EQ(method->output_type()->full_name(), operations[i][2]);
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
    // Each row: field number, case name, payload type.
    const auto cases = rows_of("vantaapi_event_cases.txt");
    ASSERT_EQ(cases.size(), 68u);
    for (const auto& expected : cases) {
        ASSERT_EQ(expected.size(), 3u);
        const FieldDescriptor* field = event->FindFieldByNumber(std::stoi(expected[0]));
        ASSERT_NE(field, nullptr) << expected[1];
        EXPECT_EQ(field->name(), expected[1]);
        EXPECT_EQ(field->containing_oneof(), data);
        ASSERT_EQ(field->type(), FieldDescriptor::TYPE_MESSAGE) << expected[1];
        EXPECT_EQ(field->message_type()->full_name(), expected[2]);
    }
    for (int unused : {1, 6, 10, 12, 29, 33, 34, 36, 63}) {
        EXPECT_EQ(event->FindFieldByNumber(unused), nullptr) << unused;
    }
}

TEST(Schemas, SampleFieldsKeepTheirWireShape) {
    // Each row: message, field number, name, type, and "repeated" when it is.
    const auto fields = rows_of("wire_fields.txt");
    ASSERT_EQ(fields.size(), 10u);
    for (const auto& row : fields) {
        SCOPED_TRACE("wire_fields.txt: " + row[0]);
        ASSERT_TRUE(row.size() == 4 || (row.size() == 5 && row[4] == "repeated"));
        const auto* message = DescriptorPool::generated_pool()->FindMessageTypeByName(row[0]);
        ASSERT_NE(message, nullptr);
        const auto* field = message->FindFieldByNumber(std::stoi(row[1]));
        ASSERT_NE(field, nullptr) << "#" << row[1];
        EXPECT_EQ(field->name(), row[2]);
        EXPECT_EQ(type_of(*field), row[3]) << row[2];
        EXPECT_EQ(field->is_repeated(), row.size() == 5) << row[2];
    }
    const auto* details = vantaapi::AccountDetails::descriptor();
    ASSERT_EQ(details->oneof_decl_count(), 1);
    EXPECT_EQ(details->oneof_decl(0)->name(), "data");
    EXPECT_EQ(details->oneof_decl(0)->field_count(), 3);
    EXPECT_EQ(vanta::metricsdispatch::EventType_descriptor()->FindValueByName("NONE")->number(),
              10);
}

TEST(BackendSchemas, EveryServiceHasItsOperationsInOrder) {
    // Each row: the service's full name, then its operations.
    const auto services = rows_of("backend_services.txt");
    ASSERT_EQ(services.size(), 35u);
    for (const auto& expected : services) {
        const ServiceDescriptor* service =
            DescriptorPool::generated_pool()->FindServiceByName(expected[0]);
        ASSERT_NE(service, nullptr) << expected[0];
        std::vector<std::string> methods = {expected[0]};
        for (int i = 0; i < service->method_count(); ++i) {
            methods.push_back(service->method(i)->name());
        }
        EXPECT_EQ(methods, expected);
        if (const auto* subscribe = service->FindMethodByName("Subscribe")) {
            EXPECT_TRUE(subscribe->server_streaming()) << expected[0];
        }
    }
}
