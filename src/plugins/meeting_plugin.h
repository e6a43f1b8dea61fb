#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "calling.pb.h"
#include "clients/calling/calling_client.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Calls and meetings as the call proxy reports them: each event of its stream
// becomes one VantaEvent, translated as it arrives (nothing is kept), and the
// bus's meeting-list notice tells subscribers to fetch the list again.
//
// Threading: call-proxy events arrive on the client's stream thread, bus
// messages on the bus dispatch thread, the operations on gRPC threads. The
// plugin has no state of its own; the fan-out orders what it publishes. An
// event that carries an enumeration's reserved sentinel makes its conversion
// throw std::runtime_error: nothing is published for it, the client logs the
// error and its stream goes on.
class MeetingPlugin {
  public:
    // The client talks to `callproxy`, the catalogue's call-proxy row.
    MeetingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                  PluginRegistrar& registrar,
                  const Endpoint& callproxy = device_endpoints().callproxy);
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
    void handle_calling_event(const calling::Event& event);

    // One per case of the call proxy's events; each publishes one event.
    void handle_call_proxy_meeting_event(const calling::CallState& state);
    void handle_call_service_changed_event();
    void handle_call_proxy_call_security_event(const calling::CallSecurity& security);
    void handle_last_dial_string_changed();
    void handle_call_proxy_conference_info(const calling::ConferenceInfo& info);
    void handle_call_proxy_participants(const calling::Participants& participants);
    void handle_call_proxy_meeting_reminder(const calling::MeetingReminderInfo& reminder);
    void handle_call_proxy_active_speakers(const calling::ActiveSpeakers& speakers);
    void handle_call_proxy_sharing_participant(const calling::SharingParticipant& sharing);
    void handle_call_proxy_video_csi_change(const calling::VideoCSIChange& change);
    void handle_call_proxy_media_status_event(const calling::MediaStatusEvent& status);
    void handle_call_proxy_media_ready_event(const calling::MediaReadyEvent& ready);
    void handle_call_proxy_floor_availability_event(const calling::FloorAvailability& floor);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
    // Last: its stream thread calls the handlers, so it goes first.
    std::unique_ptr<calling::CallingClient> client_;
};

}  // namespace vanta
