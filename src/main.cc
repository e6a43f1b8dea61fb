// Entry point of vantaapid: installs the termination and crash handlers,
// starts logging, hosts the services and runs queued work on the main thread
// until SIGTERM.

#include <malloc.h>

#include <memory>
#include <string>

#include "api/vantaapi_service.h"
#include "gateway/zapigateway_service.h"
#include "rpc/client/endpoint_catalogue.h"
#include "runtime/crash/crash_handler.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/guarded_run.h"
#include "runtime/logging/loggers.h"
#include "runtime/logging/loglib.h"
#include "runtime/logging/nlog.h"
#include "runtime/main_loop.h"
#include "runtime/termination_handler.h"

namespace {

const std::string kVantaApiAddress = vanta::device_endpoints().vantaapi.address;
const std::string kZapigatewayAddress = vanta::device_endpoints().zapigateway.address;
const std::string kZapigatewayServiceName = vanta::device_endpoints().zapigateway.service_name;
const std::string kZapigatewayClientName = "Zapigateway Client";

void run_daemon() {
    Log_globInitOnce();
    const vanta::Endpoint& metrics = vanta::device_endpoints().metrics_dispatch;
    nlog::init_logger(
        vanta::metricsdispatch::create_metricsdispatch_client(metrics.address, metrics.deadline));
    logging::Logger& logger = logging::getLogger("vantaapid");
    WaitingExecutor executor(logger);

    std::unique_ptr<vanta::GrpcServer> api_host =
        vanta::create_vantaapi_service(executor, kVantaApiAddress);
    api_host->run(vanta::GrpcServer::AccessLevel::AllWrite);
    // The gateway's client reaches the API over its socket, as any local
    // client does; it connects on its first call.
    std::unique_ptr<vanta::GrpcServer> gateway_host =
        vanta::zapigateway::create_service(executor, kZapigatewayAddress);
    gateway_host->run(vanta::GrpcServer::AccessLevel::Unchanged);

    vanta::run_main_loop(executor, [] { return vanta::terminationhandler::time_to_quit(); });

    logger.info("{}", "Shutting down vantaapid");
    nlog::stop_logger();
    logging::cleanupLoggers();
    Log_destroy();
    // The gateway calls the API, so it goes first.
    gateway_host.reset();
    api_host.reset();
    // The executor goes with this scope: queued work is dropped unrun.
}

}  // namespace

int main() {
#ifdef M_ARENA_MAX
    // glibc gives threads arenas of their own, up to eight per core, each
    // holding on to memory; the daemon's thirty threads do well with one
    // arena per core of the device.
    mallopt(M_ARENA_MAX, 2);
#endif
    vanta::terminationhandler::register_termination_handler();
    auto crash_handler = vanta::getCrashHandler("vantaapid");
    vanta::run_guarded(run_daemon);
    crash_handler.reset();
    return 0;
}
