#include "runtime/tracing/tracing.h"

#include <random>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "runtime/logging/loggers.h"

namespace vanta::tracing {

namespace {
std::int64_t epoch_ms(TimePoint time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}
}  // namespace

SpanImpl::SpanImpl(std::shared_ptr<Tracer> tracer, std::string name, SpanContext context,
                   TimePoint start)
    : tracer_(std::move(tracer)), name_(std::move(name)), context_(context), start_(start) {}

SpanImpl::~SpanImpl() {
    if (finished_) {
        return;
    }
    finish(std::chrono::system_clock::now());
    tracer_->report(*this);
}

void SpanImpl::finish(TimePoint time) {
    if (finished_) {
        throw std::runtime_error("Cannot finish span" + name_ + " more than once");
    }
    finished_ = true;
    finish_ = time;
}

void SpanImpl::set_tag(const std::string& name, const std::string& value) {
    tags_[name] = value;
}

void SpanImpl::set_tag(const std::string& name, int value) {
    tags_[name] = std::to_string(value);
}

void SpanImpl::set_tag(const std::string& name, bool value) {
    tags_[name] = value ? "true" : "false";
}

TracerImpl::TracerImpl() : TracerImpl(logging::getLogger("[TRACING]")) {}

TracerImpl::TracerImpl(logging::Logger& logger) : logger_(logger) {}

std::unique_ptr<Span> TracerImpl::start_span(const std::string& name,
                                             const StartSpanOptions& options) {
    SpanContext context;
    const bool root = options.reference_type == kNoReference ||
                      (options.reference_type == kChildOf && options.referenced.trace_id == 0);
    if (root) {
        context.trace_id = generate_id();
        context.span_id = context.trace_id;
    } else {
        context.trace_id = options.referenced.trace_id;
        context.span_id = generate_id();
        context.parent_id = options.referenced.span_id;
    }
    return std::make_unique<SpanImpl>(shared_from_this(), name, context, options.start_time);
}

void TracerImpl::report(const Span& span) {
    const SpanContext context = span.context();
    nlohmann::json tags = nlohmann::json::object();
    for (const auto& [name, value] : span.get_tags()) {
        tags[name] = value;
    }
    const nlohmann::json line = {
        {"Operation Name", span.operation_name()},
        {"Start Time", epoch_ms(span.start_time())},
        {"Finish Time", epoch_ms(span.finish_time())},
        {"Trace ID", std::to_string(context.trace_id)},
        {"Span ID", std::to_string(context.span_id)},
        {"Parent ID", std::to_string(context.parent_id)},
        {"tags", tags},
    };
    logger_.info("{}", line.dump());
}

std::shared_ptr<Tracer> create_tracer() {
    return std::make_shared<TracerImpl>();
}

std::uint64_t generate_id() {
    std::random_device device("default");
    std::minstd_rand engine(device());
    std::uniform_int_distribution<std::uint64_t> distribution;
    return distribution(engine);
}

std::uint64_t from_string(const std::string& text) {
    std::istringstream stream(text);
    std::uint64_t value = 0;
    if (!(stream >> value)) {
        return 0;
    }
    return value;
}

}  // namespace vanta::tracing
