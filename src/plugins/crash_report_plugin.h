#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ProcessEvent" bus messages about crashed processes into crash reports.
class CrashReportPlugin {
  public:
    CrashReportPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    CrashReportPlugin(const CrashReportPlugin&) = delete;
    CrashReportPlugin& operator=(const CrashReportPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void send_crash_event(const std::string& process_name, const std::string& pid);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
