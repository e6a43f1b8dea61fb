#include "plugins/system_device_plugin.h"

#include <nlohmann/json.hpp>

#include "runtime/logging/loggers.h"
#include "runtime/logging/nlog.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "DeviceEvent";
constexpr char kMetricsLoggerName[] = "Vanta.system.ProblemReport";
constexpr char kDeviceCrashMetric[] = "Vanta.system.ProblemReport.DeviceCrash";
}  // namespace

SystemDevicePlugin::SystemDevicePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                       PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void SystemDevicePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() != 0) {
        logger_.warning("Unknown event");
        return;
    }
    handle_device_crashed(message);
}

void SystemDevicePlugin::handle_device_crashed(const pubsub::PubSubMessage& message) {
    logger_.info("DEVICE_CRASHED event");
    const std::string& device_path = message.msg().data();
    const std::string dump_file = message.get_option("dump_file");
    const std::string driver_name = message.get_option("driver_name");
    send_device_crash_metric(device_path, driver_name);
    send_crash_event(device_path, dump_file, driver_name);
}

void SystemDevicePlugin::send_device_crash_metric(const std::string& device_path,
                                                  const std::string& driver_name) {
    const nlohmann::json data = {{"device_path", device_path}, {"driver_name", driver_name}};
    nlog::create_logger(kMetricsLoggerName)
        .log(vanta::metricsdispatch::METRIC, kDeviceCrashMetric, data);
}

void SystemDevicePlugin::send_crash_event(const std::string& device_path,
                                          const std::string& dump_file,
                                          const std::string& driver_name) {
    vantaapi::VantaEvent event;
    auto* report = event.mutable_dev_crash_report();
    report->set_device_path(device_path);
    report->set_dump_file(dump_file);
    report->set_driver_name(driver_name);
    publisher_.publish(event);
}

}  // namespace vanta
