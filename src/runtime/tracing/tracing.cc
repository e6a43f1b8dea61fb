#include "runtime/tracing/tracing.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include <fmt/compile.h>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "runtime/logging/loggers.h"

namespace vanta::tracing {

namespace {
std::int64_t epoch_ms(TimePoint time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A JSON string of ASCII text, escaped as the JSON library escapes it.
void append_string(fmt::memory_buffer& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
            case '"':
                out.append(std::string_view("\\\""));
                break;
            case '\\':
                out.append(std::string_view("\\\\"));
                break;
            case '\b':
                out.append(std::string_view("\\b"));
                break;
            case '\f':
                out.append(std::string_view("\\f"));
                break;
            case '\n':
                out.append(std::string_view("\\n"));
                break;
            case '\r':
                out.append(std::string_view("\\r"));
                break;
            case '\t':
                out.append(std::string_view("\\t"));
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    fmt::format_to(std::back_inserter(out), "\\u{:04x}", static_cast<int>(c));
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

// The span's line built by the JSON library, which also checks the encoding
// of text that is not plain ASCII.
std::string library_line(const std::string& name, const SpanContext& context, TimePoint start,
                         TimePoint finish, const std::map<std::string, std::string>& tags) {
    nlohmann::json tag_object = nlohmann::json::object();
    for (const auto& [tag, value] : tags) {
        tag_object[tag] = value;
    }
    const nlohmann::json line = {
        {"Operation Name", name},
        {"Start Time", epoch_ms(start)},
        {"Finish Time", epoch_ms(finish)},
        {"Trace ID", std::to_string(context.trace_id)},
        {"Span ID", std::to_string(context.span_id)},
        {"Parent ID", std::to_string(context.parent_id)},
        {"tags", tag_object},
    };
    return line.dump();
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

// One compact JSON object, its members sorted by name as the JSON library
// orders them. Written directly (a handler's span ends every request); text
// that is not plain ASCII takes the library's way.
void TracerImpl::report(const Span& span) {
    const SpanContext context = span.context();
    const std::string name = span.operation_name();
    const std::map<std::string, std::string> tags = span.get_tags();
    bool ascii = is_ascii(name);
    for (const auto& [tag, value] : tags) {
        ascii = ascii && is_ascii(tag) && is_ascii(value);
    }
    if (!ascii) {
        logger_.info("{}",
                     library_line(name, context, span.start_time(), span.finish_time(), tags));
        return;
    }
    fmt::memory_buffer line;
    fmt::format_to(std::back_inserter(line),
                   FMT_COMPILE("{{\"Finish Time\":{},\"Operation Name\":"),
                   epoch_ms(span.finish_time()));
    append_string(line, name);
    fmt::format_to(
        std::back_inserter(line),
        FMT_COMPILE(
            ",\"Parent ID\":\"{}\",\"Span ID\":\"{}\",\"Start Time\":{},\"Trace ID\":\"{}\","
            "\"tags\":{{"),
        context.parent_id, context.span_id, epoch_ms(span.start_time()), context.trace_id);
    bool first = true;
    for (const auto& [tag, value] : tags) {
        if (!first) {
            line.push_back(',');
        }
        first = false;
        append_string(line, tag);
        line.push_back(':');
        append_string(line, value);
    }
    line.append(std::string_view("}}"));
    logger_.info("{}", std::string_view(line.data(), line.size()));
}

std::shared_ptr<Tracer> create_tracer() {
    return std::make_shared<TracerImpl>();
}

std::uint64_t generate_id() {
    // Opening the system's random device costs more than the rest of a
    // request (CPU feature probes, or a file to open and close); each thread
    // keeps its own and draws one fresh seed from it per identifier.
    thread_local std::random_device device("default");
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
