#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class CalendarPlugin {
  public:
    CalendarPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                   PluginRegistrar& registrar);
    CalendarPlugin(const CalendarPlugin&) = delete;
    CalendarPlugin& operator=(const CalendarPlugin&) = delete;
};

}  // namespace vanta
