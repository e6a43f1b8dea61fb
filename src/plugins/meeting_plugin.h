#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

class MeetingPlugin {
  public:
    MeetingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                  PluginRegistrar& registrar);
    MeetingPlugin(const MeetingPlugin&) = delete;
    MeetingPlugin& operator=(const MeetingPlugin&) = delete;

  private:
    void handle_meetinglist_subscription_event(const pubsub::PubSubMessage& message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
};

}  // namespace vanta
