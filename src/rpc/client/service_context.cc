#include "rpc/client/service_context.h"

#include <mutex>

namespace vanta {

namespace {

struct ProcessContext {
    std::mutex mutex;
    std::shared_ptr<serviceregistry::ServiceContext> context;
};

ProcessContext& process_context() {
    static ProcessContext instance;
    return instance;
}

}  // namespace

std::shared_ptr<serviceregistry::ServiceContext> get_service_context() {
    ProcessContext& process = process_context();
    std::lock_guard<std::mutex> lock(process.mutex);
    if (!process.context) {
        process.context = std::make_shared<serviceregistry::ServiceContextImpl>();
    }
    return process.context;
}

void destroy_service_context() {
    ProcessContext& process = process_context();
    std::lock_guard<std::mutex> lock(process.mutex);
    process.context.reset();
}

}  // namespace vanta
