#pragma once

#include <map>
#include <memory>
#include <string>

#include "plugins/all_plugins.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/publisher.h"
#include "pubsub/subscription_event_handler.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "runtime/tracing/tracing.h"
#include "vantaapi.grpc.pb.h"

// Backend clients: call control.

// Backend clients: audio, ringer, reset, system, screen, HDMI input, 802.1X,
// upgrades and features.

// Backend clients: network, Wi-Fi, access point, configuration, on-premises
// call control, cloud configuration, ultrasound, avatar and media session.

// Platform, problem reports and tones.
#include "problemreport/problemreporter_client.h"
#include "problemreport/problemreportstatus_client.h"

namespace vanta {

// The one object behind the VantaApi service. Constructing it assembles the
// API side of the daemon: the bus connection, the event fan-out to API
// subscribers, the tracer and every plugin.
//
// Threading: constructed and destroyed on the main thread; handlers run on
// gRPC's threads, bus messages arrive on the bus subscriber's thread. The
// handler table is written only during construction (by the plugins'
// constructors) and read-only afterwards.
class VantaApiImpl final : public vantaapi::VantaApi::Service, public PluginRegistrar {
  public:
    explicit VantaApiImpl(Executor& executor);
    ~VantaApiImpl() override;
    VantaApiImpl(const VantaApiImpl&) = delete;
    VantaApiImpl& operator=(const VantaApiImpl&) = delete;

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream)
        override;
    grpc::Status UXWakeUp(grpc::ServerContext* context, const vantaapi::UXWakeUpRequest* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status UXStandby(grpc::ServerContext* context, const google::protobuf::Empty* request,
                           google::protobuf::Empty* response) override;

    // Operations served by call control.

    // Operations served by the audio, ringer, reset, system, screen, HDMI
    // input, 802.1X, upgrade and feature clients.

    // Operations served by the network, Wi-Fi, access point, configuration,
    // on-premises, cloud configuration, ultrasound, avatar and media-session
    // clients.

    // Operations served by the platform, problem reports and the tone player.
    grpc::Status GetSystemInfo(grpc::ServerContext* context, const vantaapi::SystemInfoRequest* request,
                               vantaapi::SystemInfo* response) override;
    grpc::Status PlayTone(grpc::ServerContext* context, const vantaapi::PlayToneRequest* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status StopTone(grpc::ServerContext* context, const google::protobuf::Empty* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status GetInterfaceInfo(grpc::ServerContext* context,
                                  const vantaapi::InterfaceInfoRequest* request,
                                  vantaapi::InterfaceInfo* response) override;
    grpc::Status TestUrlConnect(grpc::ServerContext* context, const vantaapi::TestUrl* request,
                                vantaapi::TestUrlResponse* response) override;
    grpc::Status UploadPRB(grpc::ServerContext* context, const vantaapi::UploadPRBRequest* request,
                           vantaapi::RequestStatus* response) override;
    grpc::Status GetPRB(grpc::ServerContext* context, const vantaapi::GetPRBRequest* request,
                        vantaapi::RequestStatus* response) override;
    grpc::Status GetPRBStatus(grpc::ServerContext* context,
                              const vantaapi::GetPRBStatusRequest* request,
                              vantaapi::PRBStatuses* response) override;
    grpc::Status GetPRBFileLocation(grpc::ServerContext* context,
                                    const vantaapi::GetPRBFilePathRequest* request,
                                    vantaapi::PRBFileLocation* response) override;

    // Operations served by plugins.

    // Binds `topic` to `handler`; a topic already bound keeps its first handler.
    void register_event_handler(const std::string& topic,
                                std::function<void(const pubsub::PubSubMessage&)> handler) override;

  private:
    // Subscribes the bus to every topic of kPubSubEventTopics and starts the
    // delivery of bus messages; retried on the executor while the bus refuses.
    void start_subscriptions();
    void receive_subscription_event(const pubsub::PubSubMessage& message);
    std::unique_ptr<tracing::Span> start_handler_span(grpc::ServerContext* context,
                                                      const char* operation);
    // The frame of every unary handler: the span "VantaApiServer::<operation>"
    // (a child of the caller's trace) lasts while `body` runs; its status is
    // the answer.
    template <typename Body>
    grpc::Status serve(grpc::ServerContext* context, const char* operation, Body&& body) {
        const auto span = start_handler_span(context, operation);
        return body();
    }

    std::unique_ptr<pubsub::SubscriptionEventHandler> subscriber_;
    std::unique_ptr<pubsub::Publisher> publisher_;
    std::map<std::string, std::function<void(const pubsub::PubSubMessage&)>> handlers_;
    logging::Logger& logger_;
    Executor& executor_;
    GrpcServerPublisher<vantaapi::VantaEvent> event_publisher_;
    std::shared_ptr<tracing::Tracer> tracer_;

    UpgradeManagerPlugin upgrade_manager_plugin_;
    UserDetectionPlugin user_detection_plugin_;
    PairingPlugin pairing_plugin_;
    CalendarPlugin calendar_plugin_;
    MeetingPlugin meeting_plugin_;
    WifiPlugin wifi_plugin_;
    NetworkStatusPlugin network_status_plugin_;
    NimboRoomControlPlugin nimbo_room_control_plugin_;
    NimboStatusReporterPlugin nimbo_status_reporter_plugin_;
    ConfigurationPlugin configuration_plugin_;
    CrashReportPlugin crash_report_plugin_;
    FeatureTogglePlugin feature_toggle_plugin_;
    ImageUpgradePlugin image_upgrade_plugin_;
    ImageDownloadPlugin image_download_plugin_;
    OnPremUpgradePlugin on_prem_upgrade_plugin_;
    UpgradeInfoPlugin upgrade_info_plugin_;
    UiMutePlugin ui_mute_plugin_;
    UiServerMutePlugin ui_server_mute_plugin_;
    VideoSignagePlugin video_signage_plugin_;
    UiVolumePlugin ui_volume_plugin_;
    UiAudioPathPlugin ui_audio_path_plugin_;
    ContentSharePlugin content_share_plugin_;
    APModeEventPlugin ap_mode_event_plugin_;
    APModeClientEventPlugin ap_mode_client_event_plugin_;
    ServicePlugin service_plugin_;
    SystemControllerPlugin system_controller_plugin_;
    AvatarPlugin avatar_plugin_;
    SystemDevicePlugin system_device_plugin_;
    ShareAvailablePlugin share_available_plugin_;
    ProxyConfigEventPlugin proxy_config_event_plugin_;
    AccountManagerPlugin account_manager_plugin_;
    KrellConfigManagerPlugin krell_config_manager_plugin_;
    NimboBrandingPlugin nimbo_branding_plugin_;
    KrellSecurityPlugin krell_security_plugin_;
    CallHistoryPlugin call_history_plugin_;
    ShareGovernorPlugin share_governor_plugin_;
    CertificateManagerPlugin certificate_manager_plugin_;
    PhonebookPlugin phonebook_plugin_;
    Ieee8021xPlugin ieee8021x_plugin_;
    HdmiRxPlugin hdmi_rx_plugin_;
    NfcPlugin nfc_plugin_;
    CameraPlugin camera_plugin_;
    BluetoothPlugin bluetooth_plugin_;

    // The backend clients, created in this order.
    // (1) reset

    // (2) call control

    // (3) network status reporter, (4) network manager

    // (5) volume manager, (6) feature manager

    // (7) problem reporter, (8) problem-report status
    std::unique_ptr<problemreport::ProblemReporterClient> problemreporter_client_;
    std::unique_ptr<problemreport::ProblemReportStatusClient> problemreportstatus_client_;

    // (9) Wi-Fi, (10) ultrasound

    // (11) upgrade manager, (12) avatar

    // (13) access point, (14) 802.1X, (15) system controller

    // (16) on-premises security, (17) screen settings

    // (18) configuration manager, (19) on-premises configuration, (20) cloud
    // configuration

    // (21) HDMI input, (22) ringer

    // (23) media session

    // Cleared by the destructor: work that the executor still holds for this
    // object then does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vanta
