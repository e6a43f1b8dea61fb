#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "DeviceEvent" bus messages about crashed device drivers into device
// crash reports, and counts each crash as a problem-report metric.
//
// REQUIRES: the metrics worker runs (nlog::init_logger) while messages arrive.
class SystemDevicePlugin {
  public:
    SystemDevicePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                       PluginRegistrar& registrar);
    SystemDevicePlugin(const SystemDevicePlugin&) = delete;
    SystemDevicePlugin& operator=(const SystemDevicePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void handle_device_crashed(const pubsub::PubSubMessage& message);
    void send_device_crash_metric(const std::string& device_path, const std::string& driver_name);
    void send_crash_event(const std::string& device_path, const std::string& dump_file,
                          const std::string& driver_name);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
