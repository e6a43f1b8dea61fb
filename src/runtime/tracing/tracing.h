#pragma once

// Spans time one operation each; when a span ends it is written to the log
// "[TRACING]" as one JSON line. A span continues a caller's trace when it is
// started as the child of the caller's context.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "runtime/logging/logger.h"

namespace vanta::tracing {

struct SpanContext {
    std::uint64_t trace_id = 0;
    std::uint64_t span_id = 0;
    std::uint64_t parent_id = 0;
};

// 0: no reference; 1: child of the given context; higher values are treated
// as a child relation even when the referenced trace is 0.
using SpanReferenceType = int;
constexpr SpanReferenceType kNoReference = 0;
constexpr SpanReferenceType kChildOf = 1;

using TimePoint = std::chrono::system_clock::time_point;

struct StartSpanOptions {
    StartSpanOptions()
        : reference_type(kNoReference), start_time(std::chrono::system_clock::now()) {}
    StartSpanOptions(SpanReferenceType type, SpanContext context)
        : reference_type(type), referenced(context), start_time(std::chrono::system_clock::now()) {}

    SpanReferenceType reference_type;
    SpanContext referenced;
    TimePoint start_time;
};

class Span {
  public:
    virtual ~Span() = default;
    virtual TimePoint start_time() const = 0;
    virtual std::string operation_name() const = 0;
    virtual SpanContext context() const = 0;
    virtual void finish(TimePoint time) = 0;
    virtual TimePoint finish_time() const = 0;
    virtual void set_tag(const std::string& name, const std::string& value) = 0;
    virtual void set_tag(const std::string& name, int value) = 0;
    virtual void set_tag(const std::string& name, bool value) = 0;
    virtual std::map<std::string, std::string> get_tags() const = 0;
};

class Tracer {
  public:
    virtual ~Tracer() = default;
    virtual std::unique_ptr<Span> start_span(const std::string& name,
                                             const StartSpanOptions& options) = 0;
    virtual void report(const Span& span) = 0;
};

// A span reports itself to its tracer when destroyed, unless it was finished
// explicitly before. Each span belongs to one thread.
class SpanImpl final : public Span {
  public:
    SpanImpl(std::shared_ptr<Tracer> tracer, std::string name, SpanContext context,
             TimePoint start);
    ~SpanImpl() override;
    SpanImpl(const SpanImpl&) = delete;
    SpanImpl& operator=(const SpanImpl&) = delete;

    TimePoint start_time() const override { return start_; }
    std::string operation_name() const override { return name_; }
    SpanContext context() const override { return context_; }
    void finish(TimePoint time) override;
    TimePoint finish_time() const override { return finish_; }
    void set_tag(const std::string& name, const std::string& value) override;
    void set_tag(const std::string& name, int value) override;
    void set_tag(const std::string& name, bool value) override;
    std::map<std::string, std::string> get_tags() const override { return tags_; }

  private:
    std::shared_ptr<Tracer> tracer_;
    std::string name_;
    SpanContext context_;
    TimePoint start_;
    TimePoint finish_;
    bool finished_ = false;
    std::map<std::string, std::string> tags_;
};

// Shared by all handler threads; keeps no state besides its logger.
class TracerImpl final : public Tracer, public std::enable_shared_from_this<TracerImpl> {
  public:
    TracerImpl();
    explicit TracerImpl(logging::Logger& logger);

    std::unique_ptr<Span> start_span(const std::string& name,
                                     const StartSpanOptions& options) override;
    void report(const Span& span) override;

  private:
    logging::Logger& logger_;
};

std::shared_ptr<Tracer> create_tracer();

// A fresh random identifier.
std::uint64_t generate_id();
// Reads a decimal number from the start of `text`; 0 when there is none.
std::uint64_t from_string(const std::string& text);

}  // namespace vanta::tracing
