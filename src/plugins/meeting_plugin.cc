#include "plugins/meeting_plugin.h"

#include "plugins/not_available.h"
#include "runtime/logging/loggers.h"

namespace vanta {

MeetingPlugin::MeetingPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar)
    : publisher_(publisher), logger_(logging::getLogger("VantaApi")) {
    registrar.register_event_handler("MeetingListEvent",
                                     [this](const pubsub::PubSubMessage& message) {
                                         handle_meetinglist_subscription_event(message);
                                     });
}

void MeetingPlugin::handle_meetinglist_subscription_event(const pubsub::PubSubMessage& message) {
    // The notice carries no meetings: subscribers fetch the list with
    // GetAllMeetings.
    if (message.msg().event() != 0) {
        return;
    }
    vantaapi::VantaEvent event;
    event.mutable_new_meeting_list();
    publisher_.publish(event);
}

grpc::Status MeetingPlugin::GetAllMeetings(grpc::ServerContext*, const google::protobuf::Empty*,
                                           vantaapi::MeetingList*) {
    return not_available_yet("MeetingPlugin::GetAllMeetings");
}

grpc::Status MeetingPlugin::GetVideoStatistics(grpc::ServerContext*, const vantaapi::MeetingInfo*,
                                               vantaapi::VideoStatistics*) {
    return not_available_yet("MeetingPlugin::GetVideoStatistics");
}

}  // namespace vanta
