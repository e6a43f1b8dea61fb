#include "plugins/crash_report_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "ProcessEvent";
}  // namespace

CrashReportPlugin::CrashReportPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void CrashReportPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() != 0) {
        logger_.warning("Unknown event");
        return;
    }
    logger_.info("PROCESS_CRASHED event");
    send_crash_event(message.msg().data(), message.get_option("pid"));
}

void CrashReportPlugin::send_crash_event(const std::string& process_name, const std::string& pid) {
    vantaapi::VantaEvent event;
    auto* report = event.mutable_crash_report();
    report->set_process_name(process_name);
    report->set_pid(pid);
    publisher_.publish(event);
}

}  // namespace vanta
