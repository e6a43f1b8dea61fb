#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "metricsdispatch.grpc.pb.h"
#include "runtime/tracing/grpc_tracing.h"
#include "runtime/tracing/tracing.h"
#include "sim/backend_server.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"

using namespace vanta::tracing;
using vanta::testing::RecordingLogger;

namespace {

// Parses the one "[TRACING]" line that the logger recorded.
nlohmann::json reported_span(const RecordingLogger& logger) {
    const auto lines = logger.lines();
    EXPECT_EQ(lines.size(), 1u);
    if (lines.empty()) {
        return {};
    }
    EXPECT_EQ(lines[0].rfind("I ", 0), 0u);
    return nlohmann::json::parse(lines[0].substr(2));
}

// Any unary service will do to carry metadata: this one answers SendMetric
// and keeps the trace the call arrived with.
class TraceCapturingService final : public vanta::metricsdispatch::MetricsDispatch::Service {
  public:
    grpc::Status SendMetric(grpc::ServerContext* context, const vanta::metricsdispatch::Metric*,
                            vanta::metricsdispatch::RequestStatus*) override {
        received = vanta::grpctracing::get_span_context(context);
        return grpc::Status::OK;
    }
    SpanContext received;
};

}  // namespace

// A root span's line, reported when it ends. It is written without the JSON
// library when its text is plain ASCII: it must be exactly what the library
// prints, members sorted by name and escapes included.
TEST(Tracer, RootSpanReportsItsFieldsAndTagsInTheJsonLibrarysCompactFormWhenItEnds) {
    for (const std::string& value :
         {std::string("plain"), std::string("quote\" back\\slash /"),
          std::string("\x01\x1f\b\f\n\r\t\x7f\0", 9), std::string("caf\xc3\xa9")}) {
        RecordingLogger logger;
        {
            auto tracer = std::make_shared<TracerImpl>(logger);
            auto span = tracer->start_span("Op \"x\"", StartSpanOptions());
            span->set_tag("z", value);
            span->set_tag("a\n", 3);
            span->set_tag("c", true);
            EXPECT_TRUE(logger.lines().empty()) << "reported only when the span ends";
        }
        const auto json = reported_span(logger);
        EXPECT_EQ("I " + json.dump(), logger.lines().at(0));
        EXPECT_EQ(json["Operation Name"], "Op \"x\"");
        EXPECT_EQ(json["Span ID"], json["Trace ID"]);
        EXPECT_EQ(json["Parent ID"], "0");
        EXPECT_NE(json["Trace ID"], "0");
        EXPECT_LE(json["Start Time"].get<int64_t>(), json["Finish Time"].get<int64_t>());
        EXPECT_EQ(json["tags"], nlohmann::json({{"z", value}, {"a\n", "3"}, {"c", "true"}}));
    }
}

TEST(Tracer, ChildSpanContinuesAPresentTraceAndOfAnAbsentOneIsARoot) {
    RecordingLogger logger;
    auto tracer = std::make_shared<TracerImpl>(logger);
    {
        auto span = tracer->start_span("child", StartSpanOptions(kChildOf, {42, 7, 0}));
        EXPECT_EQ(span->context().trace_id, 42u);
        EXPECT_EQ(span->context().parent_id, 7u);
        EXPECT_NE(span->context().span_id, 7u);
    }
    const auto json = reported_span(logger);
    EXPECT_EQ(json["Trace ID"], "42");
    EXPECT_EQ(json["Parent ID"], "7");

    // Higher reference types keep the parent even without a trace.
    auto root = tracer->start_span("r", StartSpanOptions(kChildOf, {0, 7, 0}));
    EXPECT_EQ(root->context().parent_id, 0u);
    EXPECT_EQ(root->context().span_id, root->context().trace_id);
    auto follows = tracer->start_span("f", StartSpanOptions(2, {0, 7, 0}));
    EXPECT_EQ(follows->context().trace_id, 0u);
    EXPECT_EQ(follows->context().parent_id, 7u);
    EXPECT_NE(generate_id(), generate_id());
}

TEST(Tracer, ExplicitlyFinishedSpanIsNotReportedAndCannotFinishTwice) {
    RecordingLogger logger;
    auto tracer = std::make_shared<TracerImpl>(logger);
    {
        auto span = tracer->start_span("Op", StartSpanOptions());
        span->finish(std::chrono::system_clock::now());
        EXPECT_THAT(
            [&] { span->finish(std::chrono::system_clock::now()); },
            ::testing::ThrowsMessage<std::runtime_error>("Cannot finish spanOp more than once"));
    }
    EXPECT_TRUE(logger.lines().empty());
}

TEST(GrpcTracing, TraceTravelsInCallMetadata) {
    vanta::testing::TempDir dir;
    const std::string address = dir.socket_address("trace");
    TraceCapturingService service;
    vanta::sim::BackendServer server(address, {&service});
    auto stub = vanta::metricsdispatch::MetricsDispatch::NewStub(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));

    struct Case {
        std::vector<std::pair<std::string, std::string>> metadata;
        SpanContext expected;
    };
    const std::vector<Case> cases = {
        {{{"trace_id", "42"}, {"span_id", "7"}}, {42, 7, 0}},
        {{{"trace_id", "18446744073709551615"}, {"span_id", "7"}}, {18446744073709551615u, 7, 0}},
        {{{"trace_id", "42"}}, {0, 0, 0}},
        {{{"span_id", "7"}}, {0, 0, 0}},
        {{{"trace_id", "x"}, {"span_id", "7"}}, {0, 7, 0}},
        // Only the leading decimal digits count.
        {{{"trace_id", "12abc"}, {"span_id", ""}}, {12, 0, 0}},
        {{}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        grpc::ClientContext context;
        for (const auto& [key, value] : c.metadata) {
            context.AddMetadata(key, value);
        }
        vanta::metricsdispatch::RequestStatus reply;
        ASSERT_TRUE(stub->SendMetric(&context, {}, &reply).ok());
        EXPECT_EQ(service.received.trace_id, c.expected.trace_id);
        EXPECT_EQ(service.received.span_id, c.expected.span_id);
        EXPECT_EQ(service.received.parent_id, 0u);
    }

    grpc::ClientContext context;
    vanta::grpctracing::store_span_context(context, {18446744073709551615u, 9, 3});
    vanta::metricsdispatch::RequestStatus reply;
    ASSERT_TRUE(stub->SendMetric(&context, {}, &reply).ok());
    EXPECT_EQ(service.received.trace_id, 18446744073709551615u);
    EXPECT_EQ(service.received.span_id, 9u);
}
