#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class MeetingPlugin {
  public:
    MeetingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                  PluginRegistrar& registrar);
    MeetingPlugin(const MeetingPlugin&) = delete;
    MeetingPlugin& operator=(const MeetingPlugin&) = delete;

    // API operations served by this plugin.
    grpc::Status GetAllMeetings(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::MeetingList* response);
    grpc::Status GetVideoStatistics(grpc::ServerContext* context,
                                    const vantaapi::MeetingInfo* request,
                                    vantaapi::VideoStatistics* response);

  private:
    void handle_meetinglist_subscription_event(const pubsub::PubSubMessage& message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
};

}  // namespace vanta
