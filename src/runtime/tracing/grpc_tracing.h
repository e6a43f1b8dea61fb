#pragma once

#include <grpcpp/client_context.h>
#include <grpcpp/server_context.h>

#include "runtime/tracing/tracing.h"

namespace vanta::grpctracing {

// The caller's trace as sent in the call's metadata ("trace_id" and
// "span_id"); all zero unless both are present.
tracing::SpanContext get_span_context(const grpc::ServerContext* context);
// Adds "span_id" and "trace_id" to an outgoing call's metadata.
void store_span_context(grpc::ClientContext& context, const tracing::SpanContext& span);

}  // namespace vanta::grpctracing
