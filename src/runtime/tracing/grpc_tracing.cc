#include "runtime/tracing/grpc_tracing.h"

#include <string>

namespace vanta::grpctracing {

tracing::SpanContext get_span_context(const grpc::ServerContext* context) {
    tracing::SpanContext span;
    const auto& metadata = context->client_metadata();
    const auto trace = metadata.find("trace_id");
    const auto parent = metadata.find("span_id");
    if (trace == metadata.end() || parent == metadata.end()) {
        return span;
    }
    span.trace_id = tracing::from_string(std::string(trace->second.data(), trace->second.size()));
    span.span_id = tracing::from_string(std::string(parent->second.data(), parent->second.size()));
    return span;
}

void store_span_context(grpc::ClientContext& context, const tracing::SpanContext& span) {
    context.AddMetadata("span_id", std::to_string(span.span_id));
    context.AddMetadata("trace_id", std::to_string(span.trace_id));
}

}  // namespace vanta::grpctracing
