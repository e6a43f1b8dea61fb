// Entry point of vantaapid: installs the termination and crash handlers,
// starts logging, hosts the services and runs queued work on the main thread
// until SIGTERM.

#include <memory>
#include <string>

#include "api/vantaapi_service.h"
#include "runtime/crash/crash_handler.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/guarded_run.h"
#include "runtime/logging/loggers.h"
#include "runtime/logging/loglib.h"
#include "runtime/logging/nlog.h"
#include "runtime/main_loop.h"
#include "runtime/termination_handler.h"

namespace {

const std::string kVantaApiAddress = "unix:/tmp/vantaapi_service";
const std::string kZapigatewayAddress = "unix:/tmp/zapigateway";
const std::string kZapigatewayServiceName = "Zapigateway Service";
const std::string kZapigatewayClientName = "Zapigateway Client";

void run_daemon() {
    Log_globInitOnce();
    nlog::init_logger();
    logging::Logger& logger = logging::getLogger("vantaapid");
    WaitingExecutor executor(logger);

    std::unique_ptr<vanta::GrpcServer> api_host =
        vanta::create_vantaapi_service(executor, kVantaApiAddress);
    api_host->run(vanta::GrpcServer::AccessLevel::AllWrite);

    vanta::run_main_loop(executor, [] { return vanta::terminationhandler::time_to_quit(); });

    logger.info("{}", "Shutting down vantaapid");
    nlog::stop_logger();
    logging::cleanupLoggers();
    Log_destroy();
    api_host.reset();
    // The executor goes with this scope: queued work is dropped unrun.
}

}  // namespace

int main() {
    vanta::terminationhandler::register_termination_handler();
    auto crash_handler = vanta::getCrashHandler("vantaapid");
    vanta::run_guarded(run_daemon);
    crash_handler.reset();
    return 0;
}
