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
#include "clients/accesspoint/accesspoint_client.h"
#include "clients/avatar/avatar_client.h"
#include "clients/configmanager/configmanager_client.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "clients/krellsecurity/krellsecurity_client.h"
#include "clients/mediasession/mediasession_client.h"
#include "clients/networkmanager/networkmanager_client.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client.h"
#include "clients/nimboultrasound/nimboultrasound_client.h"
#include "clients/wifi/wifi_client.h"

// Platform, problem reports and tones.

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
    grpc::Status GetAccountInfo(grpc::ServerContext* context, const vantaapi::AccountInfoRequest* request,
        vantaapi::AccountInfo* response) override;
    grpc::Status GetSharedAccountInfo(grpc::ServerContext* context, const vantaapi::AccountInfoRequest* request,
        vantaapi::AccountInfo* response) override;
    grpc::Status InstallCTL(grpc::ServerContext* context, const vantaapi::InstallCTLRequest* request,
        vantaapi::Response* response) override;
    grpc::Status InstallITL(grpc::ServerContext* context, const vantaapi::InstallITLRequest* request,
        vantaapi::Response* response) override;
    grpc::Status ResetTrustList(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::Response* response) override;
    grpc::Status RequireSignedFiles(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::Response* response) override;
    grpc::Status IsServerSecure(grpc::ServerContext* context, const vantaapi::ServerTypeInfo* request,
        vantaapi::Response* response) override;
    grpc::Status VerifyConfigFile(grpc::ServerContext* context, const vantaapi::VerifyConfigFileRequest* request,
        vantaapi::FileVerifyResponse* response) override;
    grpc::Status VerifyLoadsFile(grpc::ServerContext* context, const vantaapi::VerifyLoadsFileRequest* request,
        vantaapi::FileVerifyResponse* response) override;
    grpc::Status StartCapf(grpc::ServerContext* context, const vantaapi::StartCapfRequest* request,
        vantaapi::CapfResponse* response) override;
    grpc::Status GetTrustListInfo(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::SecTrustListInfo* response) override;
    grpc::Status GetTrustListItem(grpc::ServerContext* context, const vantaapi::TrustListIndex* request,
        vantaapi::SecTrustListItem* response) override;
    grpc::Status GetDeviceCertificateStatus(grpc::ServerContext* context, const vantaapi::DeviceCertificateStatusRequest* request,
        vantaapi::Response* response) override;
    grpc::Status GetNetworkStatusReport(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::NetworkStatusReport* response) override;
    grpc::Status GetProxyInfo(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::ProxyInfo* response) override;
    grpc::Status SetProxyConfig(grpc::ServerContext* context, const vantaapi::ProxyConfig* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetGlintServiceMap(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::GlintServiceMapResponse* response) override;
    grpc::Status EnableWifi(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status DisableWifi(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status IsWifiEnabled(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiEnabled* response) override;
    grpc::Status SetWifiConfig(grpc::ServerContext* context, const vantaapi::WifiConfigInfo* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetWifiConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiConfiguration* response) override;
    grpc::Status ClearWifiConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetWifiStatus(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiStatus* response) override;
    grpc::Status GetWifiSupplicantStatus(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::SupplicantStatus* response) override;
    grpc::Status GetWifiSTAStatistics(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiSTAStatistics* response) override;
    grpc::Status GetWifiNetworkList(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiNetworkList* response) override;
    grpc::Status IsAPModeEnabled(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::APModeEnabled* response) override;
    grpc::Status SetAPModeEnabled(grpc::ServerContext* context, const vantaapi::APModeEnabled* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetLocalAPConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::LocalAPConfiguration* response) override;
    grpc::Status SetLocalAPConfig(grpc::ServerContext* context, const vantaapi::LocalAPConfiguration* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status StartWifiScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status StopWifiScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status IsWifiScanStarted(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::WifiScanStarted* response) override;
    grpc::Status GetPairedUsers(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::PairedUsers* response) override;
    grpc::Status GetBeaconStatus(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::BeaconStatus* response) override;
    grpc::Status SetBeaconStatus(grpc::ServerContext* context, const vantaapi::BeaconStatus* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetLatestPairingToken(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::TokenResponse* response) override;
    grpc::Status GetPairingId(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::PairingId* response) override;
    grpc::Status GetLanguage(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::LanguageInfo* response) override;
    grpc::Status SetLanguage(grpc::ServerContext* context, const vantaapi::LanguageInfo* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetTimezone(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::TimezoneInfo* response) override;
    grpc::Status SetTimezone(grpc::ServerContext* context, const vantaapi::TimezoneInfo* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetGeoServiceInfo(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::GeoServiceInfo* response) override;
    grpc::Status GetGuiSettingsEnabled(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::GuiSettingsEnabledInfo* response) override;
    grpc::Status GetKrellDeviceConfigs(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::AllKrellConfigurations* response) override;
    grpc::Status GetKRELLTftpAddress(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::TftpAddress* response) override;
    grpc::Status GetKRELLDeviceConfigValue(grpc::ServerContext* context, const vantaapi::KRELLDeviceConfigRequest* request,
        vantaapi::KRELLDeviceConfigValue* response) override;
    grpc::Status SetKRELLAutoConfig(grpc::ServerContext* context, const vantaapi::KRELLAutoConfig* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetAvatar(grpc::ServerContext* context, const vantaapi::AvatarRequest* request,
        google::protobuf::Empty* response) override;
    grpc::Status SetIpv4Config(grpc::ServerContext* context, const vantaapi::Ipv4Config* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status SetStaticDnsConfig(grpc::ServerContext* context, const vantaapi::DnsConfig* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status ClearStaticDnsConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status SetVlanConfig(grpc::ServerContext* context, const vantaapi::VlanConfig* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetVlanConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::VlanConfig* response) override;
    grpc::Status StartOnPremUpgrade(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status PostponeOnPremUpgrade(grpc::ServerContext* context, const vantaapi::PostponeOnPremUpgradeRequest* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status GetRingtoneList(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::RingtoneList* response) override;
    grpc::Status GetRingTone(grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::Ringtone* response) override;
    grpc::Status SetRingTone(grpc::ServerContext* context, const vantaapi::Ringtone* request,
        vantaapi::Ringtone* response) override;
    grpc::Status SubscribeRemoteVideo(grpc::ServerContext* context, const vantaapi::SubRemoteVideo* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status UnSubscribeRemoteVideo(grpc::ServerContext* context, const vantaapi::UnSubRemoteVideo* request,
        vantaapi::RequestStatus* response) override;

    // Operations served by the platform, problem reports and the tone player.

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
    std::unique_ptr<networkstatusreporter::Client> networkstatusreporter_client_;
    std::unique_ptr<networkmanager::Client> networkmanager_client_;

    // (5) volume manager, (6) feature manager

    // (7) problem reporter, (8) problem-report status

    // (9) Wi-Fi, (10) ultrasound
    std::unique_ptr<wifi::Client> wifi_client_;
    std::unique_ptr<nimboultrasound::Client> nimboultrasound_client_;

    // (11) upgrade manager, (12) avatar
    std::unique_ptr<avatar::Client> avatar_client_;

    // (13) access point, (14) 802.1X, (15) system controller
    std::unique_ptr<accesspoint::Client> accesspoint_client_;

    // (16) on-premises security, (17) screen settings
    std::unique_ptr<krellsecurity::Client> krellsecurity_client_;

    // (18) configuration manager, (19) on-premises configuration, (20) cloud
    // configuration
    std::unique_ptr<configmanager::Client> configmanager_client_;
    std::unique_ptr<krellconfigmanager::Client> krellconfigmanager_client_;
    std::unique_ptr<nimboconfigmanager::Client> nimboconfigmanager_client_;

    // (21) HDMI input, (22) ringer

    // (23) media session
    std::unique_ptr<mediasession::Client> mediasession_client_;

    // Cleared by the destructor: work that the executor still holds for this
    // object then does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vanta
