#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "plugins/all_plugins.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/publisher.h"
#include "pubsub/subscription_event_handler.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "runtime/tracing/tracing.h"
#include "vantaapi.grpc.pb.h"

// Backend clients: call control.
#include "clients/calling/calling_client.h"

// Backend clients: audio, ringer, reset, system, screen, HDMI input, 802.1X,
// upgrades and features.
#include "clients/featuremanager/featuremanager_client.h"
#include "clients/hdmirx/hdmirx_client.h"
#include "clients/ieee8021x/ieee8021x_client.h"
#include "clients/reset/reset_client.h"
#include "clients/ringer/ringer_client.h"
#include "clients/screensetting/screensetting_client.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "clients/upgrademanager/upgrademanager_client.h"
#include "clients/volumemgr/volumemgr_client.h"

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
#include "clients/problemreporter/problemreporter_client.h"
#include "clients/problemreportstatus/problemreportstatus_client.h"

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
    // On the device's backends (device_endpoints()).
    explicit VantaApiImpl(Executor& executor);
    // On the backends of `endpoints`: every client, the bus and the tone
    // player take their rows from there.
    VantaApiImpl(Executor& executor, const EndpointCatalogue& endpoints);
    ~VantaApiImpl() override;
    VantaApiImpl(const VantaApiImpl&) = delete;
    VantaApiImpl& operator=(const VantaApiImpl&) = delete;

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream)
        override;
    // Cancels every open Subscribe call, and each one that starts later, so
    // that a server shutting down need not wait for streams that never end by
    // themselves. Any thread.
    void end_streams();
    grpc::Status UXWakeUp(grpc::ServerContext* context, const vantaapi::UXWakeUpRequest* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status UXStandby(grpc::ServerContext* context, const google::protobuf::Empty* request,
                           google::protobuf::Empty* response) override;

    // Operations served by call control.
    grpc::Status StartMeeting(grpc::ServerContext* context,
                              const vantaapi::StartMeetingRequest* request,
                              vantaapi::MeetingInfo* response) override;
    grpc::Status JoinMeeting(grpc::ServerContext* context,
                             const vantaapi::JoinMeetingRequest* request,
                             vantaapi::RequestStatus* response) override;
    grpc::Status HoldMeeting(grpc::ServerContext* context,
                             const vantaapi::HoldMeetingRequest* request,
                             vantaapi::RequestStatus* response) override;
    grpc::Status ResumeMeeting(grpc::ServerContext* context,
                               const vantaapi::ResumeMeetingRequest* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status DeclineMeeting(grpc::ServerContext* context,
                                const vantaapi::DeclineMeetingRequest* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status LeaveMeeting(grpc::ServerContext* context,
                              const vantaapi::LeaveMeetingRequest* request,
                              vantaapi::RequestStatus* response) override;
    grpc::Status LeaveActiveMeeting(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status LeaveAllMeetings(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status StartTransferMeeting(grpc::ServerContext* context,
                                      const vantaapi::StartTransferMeetingRequest* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status CompleteTransferMeeting(grpc::ServerContext* context,
                                         const vantaapi::CompleteTransferMeetingRequest* request,
                                         vantaapi::RequestStatus* response) override;
    grpc::Status DirectTransferMeeting(grpc::ServerContext* context,
                                       const vantaapi::DirectTransferMeetingRequest* request,
                                       vantaapi::RequestStatus* response) override;
    grpc::Status CancelTransferMeeting(grpc::ServerContext* context,
                                       const vantaapi::CancelTransferMeetingRequest* request,
                                       vantaapi::RequestStatus* response) override;
    grpc::Status StartConference(grpc::ServerContext* context,
                                 const vantaapi::StartConferenceRequest* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status CompleteConference(grpc::ServerContext* context,
                                    const vantaapi::CompleteConferenceRequest* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status CancelConference(grpc::ServerContext* context,
                                  const vantaapi::CancelConferenceRequest* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status ParkMeeting(grpc::ServerContext* context,
                             const vantaapi::ParkMeetingRequest* request,
                             vantaapi::RequestStatus* response) override;
    grpc::Status DirectedParkMeeting(grpc::ServerContext* context,
                                     const vantaapi::DirectedParkMeetingRequest* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status RedialMeeting(grpc::ServerContext* context,
                               const vantaapi::RedialMeetingRequest* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status ForwardAllMeetings(grpc::ServerContext* context,
                                    const vantaapi::ForwardAllMeetingsRequest* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status ConferenceList(grpc::ServerContext* context,
                                const vantaapi::ConferenceListRequest* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status RemoveLastConferenceParticipant(
        grpc::ServerContext* context,
        const vantaapi::RemoveLastConferenceParticipantRequest* request,
        vantaapi::RequestStatus* response) override;
    grpc::Status ImmediateDivertMeeting(grpc::ServerContext* context,
                                        const vantaapi::ImmediateDivertMeetingRequest* request,
                                        vantaapi::RequestStatus* response) override;
    grpc::Status JoinAcrossLines(grpc::ServerContext* context,
                                 const vantaapi::JoinAcrossLinesRequest* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status Callback(grpc::ServerContext* context, const vantaapi::CallbackRequest* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status ConferenceBarge(grpc::ServerContext* context,
                                 const vantaapi::ConferenceBargeRequest* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status ProvideLobbyAuthentication(grpc::ServerContext* context,
                                            const vantaapi::LobbyAuthInfo* request,
                                            vantaapi::LobbyAuthStatus* response) override;
    grpc::Status SetShareEncodeParams(grpc::ServerContext* context,
                                      const vantaapi::ShareEncodeParamRequest* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status GetLastDialString(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::LastDialString* response) override;
    grpc::Status StopWirelessLocalShare(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        google::protobuf::Empty* response) override;
    grpc::Status StartRecording(grpc::ServerContext* context, const vantaapi::MeetingId* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status StopRecording(grpc::ServerContext* context, const vantaapi::MeetingId* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status PauseRecording(grpc::ServerContext* context, const vantaapi::MeetingId* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status ResumeRecording(grpc::ServerContext* context, const vantaapi::MeetingId* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status GetAudioStatistics(grpc::ServerContext* context,
                                    const vantaapi::MeetingInfo* request,
                                    vantaapi::AudioStatistics* response) override;
    grpc::Status GetShareStatistics(grpc::ServerContext* context,
                                    const vantaapi::MeetingInfo* request,
                                    vantaapi::ShareStatistics* response) override;
    grpc::Status GetContentAudioStatistics(grpc::ServerContext* context,
                                           const vantaapi::MeetingInfo* request,
                                           vantaapi::AudioStatistics* response) override;
    grpc::Status GetShareDirection(grpc::ServerContext* context, const vantaapi::MeetingId* request,
                                   vantaapi::ShareDirectionResponse* response) override;
    grpc::Status ListCallingLines(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::CallingLines* response) override;
    grpc::Status SendDTMF(grpc::ServerContext* context, const vantaapi::DTMFDigit* request,
                          vantaapi::RequestStatus* response) override;

    // Operations served by the audio, ringer, reset, system, screen, HDMI
    // input, 802.1X, upgrade and feature clients.
    grpc::Status GetVersion(grpc::ServerContext* context, const google::protobuf::Empty* request,
                            vantaapi::VersionInfo* response) override;
    grpc::Status GetUpgradeInfo(grpc::ServerContext* context,
                                const vantaapi::StatusRequest* request,
                                vantaapi::UpgradeInfo* response) override;
    grpc::Status GetUpgradeState(grpc::ServerContext* context,
                                 const vantaapi::StatusRequest* request,
                                 vantaapi::UpgradeState* response) override;
    grpc::Status FactoryReset(grpc::ServerContext* context,
                              const vantaapi::FactoryResetRequest* request,
                              vantaapi::RequestStatus* response) override;
    grpc::Status RequestFactoryReset(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::Response* response) override;
    grpc::Status RestartNetwork(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status Reboot(grpc::ServerContext* context, const vantaapi::RebootRequest* request,
                        vantaapi::RequestStatus* response) override;
    grpc::Status Shutdown(grpc::ServerContext* context, const vantaapi::ShutdownRequest* request,
                          vantaapi::RequestStatus* response) override;
    grpc::Status ClearOobState(grpc::ServerContext* context,
                               const vantaapi::ClearOobRequest* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status InstallLocalPackage(grpc::ServerContext* context,
                                     const vantaapi::InstallLocalPackageRequest* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status GetHdmiState(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              vantaapi::HdmiRxState* response) override;
    grpc::Status StartLocalWiredShare(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status StopLocalWiredShare(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status GetLocalWiredShareStatistics(
        grpc::ServerContext* context, const google::protobuf::Empty* request,
        vantaapi::LocalWiredShareStatistics* response) override;
    grpc::Status GetUltraSoundVolume(grpc::ServerContext* context,
                                     const vantaapi::VolumeRequest* request,
                                     vantaapi::VolumeStatus* response) override;
    grpc::Status SetUltraSoundVolume(grpc::ServerContext* context,
                                     const vantaapi::VolumeRequest* request,
                                     vantaapi::VolumeStatus* response) override;
    grpc::Status VolumeUp(grpc::ServerContext* context, const vantaapi::VolumeRequest* request,
                          vantaapi::VolumeStatus* response) override;
    grpc::Status VolumeDown(grpc::ServerContext* context, const vantaapi::VolumeRequest* request,
                            vantaapi::VolumeStatus* response) override;
    grpc::Status SetVolume(grpc::ServerContext* context, const vantaapi::VolumeRequest* request,
                           vantaapi::VolumeStatus* response) override;
    grpc::Status GetCurrentVolume(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::VolumeStatus* response) override;
    grpc::Status SetRingerVolume(grpc::ServerContext* context,
                                 const vantaapi::VolumeRequest* request,
                                 vantaapi::VolumeStatus* response) override;
    grpc::Status GetRingerVolume(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::VolumeStatus* response) override;
    grpc::Status SetAudioMute(grpc::ServerContext* context, const vantaapi::MuteRequest* request,
                              vantaapi::MuteStatus* response) override;
    grpc::Status ToggleAudioMute(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::MuteStatus* response) override;
    grpc::Status IsAudioMute(grpc::ServerContext* context, const google::protobuf::Empty* request,
                             vantaapi::MuteStatus* response) override;
    grpc::Status StartRinger(grpc::ServerContext* context, const vantaapi::RingerData* request,
                             vantaapi::RequestStatus* response) override;
    grpc::Status StopRinger(grpc::ServerContext* context, const google::protobuf::Empty* request,
                            vantaapi::RequestStatus* response) override;
    grpc::Status EnableFeature(grpc::ServerContext* context, const vantaapi::FeatureInfo* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status DisableFeature(grpc::ServerContext* context, const vantaapi::FeatureInfo* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status GetFeature(grpc::ServerContext* context, const vantaapi::FeatureInfo* request,
                            vantaapi::FeatureInfo* response) override;
    grpc::Status GetAllFeatures(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::AllFeatures* response) override;
    grpc::Status GetSystemState(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::SystemState* response) override;
    grpc::Status GetDeviceState(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::DeviceState* response) override;
    grpc::Status Wired8021xGetConfigInfo(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         vantaapi::Wired8021xConfiguration* response) override;
    grpc::Status GetScreenBrightness(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::ScreenBrightnessStatus* response) override;
    grpc::Status SetScreenBrightness(grpc::ServerContext* context,
                                     const vantaapi::ScreenBrightness* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status GetScreenBacklight(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::ScreenBacklightStatus* response) override;
    grpc::Status SetScreenBacklight(grpc::ServerContext* context,
                                    const vantaapi::ScreenBacklight* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status SetIeee8021xState(grpc::ServerContext* context,
                                   const vantaapi::Ieee8021xState* request,
                                   vantaapi::RequestStatus* response) override;
    grpc::Status GetIeee8021xState(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::Ieee8021xState* response) override;
    grpc::Status StartDownload(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status PostponeDownload(grpc::ServerContext* context,
                                  const vantaapi::PostponeDownloadRequest* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status SetUpgradeLimitHour(grpc::ServerContext* context,
                                     const vantaapi::UpgradeLimitHourRequest* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status SetUpgradeChannel(grpc::ServerContext* context,
                                   const vantaapi::UpgradeChannelRequest* request,
                                   vantaapi::RequestStatus* response) override;
    grpc::Status ShowAvailableAudioPath(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        vantaapi::AvailablePathEventList* response) override;
    grpc::Status SetAudioPath(grpc::ServerContext* context,
                              const vantaapi::AvailablePathEvent* request,
                              vantaapi::SetAudioPathStatus* response) override;
    grpc::Status ShowCurrentAudioPath(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::AvailablePathEvent* response) override;
    grpc::Status SetAudioHub(grpc::ServerContext* context, const vantaapi::AudioHubRequest* request,
                             vantaapi::SetAudioHubStatus* response) override;
    grpc::Status IsAudioHubEnabled(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::AudioHubStatus* response) override;

    // Operations served by the network, Wi-Fi, access point, configuration,
    // on-premises, cloud configuration, ultrasound, avatar and media-session
    // clients.
    grpc::Status GetAccountInfo(grpc::ServerContext* context,
                                const vantaapi::AccountInfoRequest* request,
                                vantaapi::AccountInfo* response) override;
    grpc::Status GetSharedAccountInfo(grpc::ServerContext* context,
                                      const vantaapi::AccountInfoRequest* request,
                                      vantaapi::AccountInfo* response) override;
    grpc::Status InstallCTL(grpc::ServerContext* context,
                            const vantaapi::InstallCTLRequest* request,
                            vantaapi::Response* response) override;
    grpc::Status InstallITL(grpc::ServerContext* context,
                            const vantaapi::InstallITLRequest* request,
                            vantaapi::Response* response) override;
    grpc::Status ResetTrustList(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::Response* response) override;
    grpc::Status RequireSignedFiles(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::Response* response) override;
    grpc::Status IsServerSecure(grpc::ServerContext* context,
                                const vantaapi::ServerTypeInfo* request,
                                vantaapi::Response* response) override;
    grpc::Status VerifyConfigFile(grpc::ServerContext* context,
                                  const vantaapi::VerifyConfigFileRequest* request,
                                  vantaapi::FileVerifyResponse* response) override;
    grpc::Status VerifyLoadsFile(grpc::ServerContext* context,
                                 const vantaapi::VerifyLoadsFileRequest* request,
                                 vantaapi::FileVerifyResponse* response) override;
    grpc::Status StartCapf(grpc::ServerContext* context, const vantaapi::StartCapfRequest* request,
                           vantaapi::CapfResponse* response) override;
    grpc::Status GetTrustListInfo(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::SecTrustListInfo* response) override;
    grpc::Status GetTrustListItem(grpc::ServerContext* context,
                                  const vantaapi::TrustListIndex* request,
                                  vantaapi::SecTrustListItem* response) override;
    grpc::Status GetDeviceCertificateStatus(grpc::ServerContext* context,
                                            const vantaapi::DeviceCertificateStatusRequest* request,
                                            vantaapi::Response* response) override;
    grpc::Status GetNetworkStatusReport(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        vantaapi::NetworkStatusReport* response) override;
    grpc::Status GetProxyInfo(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              vantaapi::ProxyInfo* response) override;
    grpc::Status SetProxyConfig(grpc::ServerContext* context, const vantaapi::ProxyConfig* request,
                                vantaapi::RequestStatus* response) override;
    grpc::Status GetGlintServiceMap(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::GlintServiceMapResponse* response) override;
    grpc::Status EnableWifi(grpc::ServerContext* context, const google::protobuf::Empty* request,
                            vantaapi::RequestStatus* response) override;
    grpc::Status DisableWifi(grpc::ServerContext* context, const google::protobuf::Empty* request,
                             vantaapi::RequestStatus* response) override;
    grpc::Status IsWifiEnabled(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::WifiEnabled* response) override;
    grpc::Status SetWifiConfig(grpc::ServerContext* context,
                               const vantaapi::WifiConfigInfo* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status GetWifiConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::WifiConfiguration* response) override;
    grpc::Status ClearWifiConfig(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status GetWifiStatus(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::WifiStatus* response) override;
    grpc::Status GetWifiSupplicantStatus(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         vantaapi::SupplicantStatus* response) override;
    grpc::Status GetWifiSTAStatistics(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::WifiSTAStatistics* response) override;
    grpc::Status GetWifiNetworkList(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::WifiNetworkList* response) override;
    grpc::Status IsAPModeEnabled(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::APModeEnabled* response) override;
    grpc::Status SetAPModeEnabled(grpc::ServerContext* context,
                                  const vantaapi::APModeEnabled* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status GetLocalAPConfig(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::LocalAPConfiguration* response) override;
    grpc::Status SetLocalAPConfig(grpc::ServerContext* context,
                                  const vantaapi::LocalAPConfiguration* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status StartWifiScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status StopWifiScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              vantaapi::RequestStatus* response) override;
    grpc::Status IsWifiScanStarted(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::WifiScanStarted* response) override;
    grpc::Status GetPairedUsers(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::PairedUsers* response) override;
    grpc::Status GetBeaconStatus(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::BeaconStatus* response) override;
    grpc::Status SetBeaconStatus(grpc::ServerContext* context,
                                 const vantaapi::BeaconStatus* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status GetLatestPairingToken(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
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
    grpc::Status GetGeoServiceInfo(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::GeoServiceInfo* response) override;
    grpc::Status GetGuiSettingsEnabled(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
                                       vantaapi::GuiSettingsEnabledInfo* response) override;
    grpc::Status GetKrellDeviceConfigs(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
                                       vantaapi::AllKrellConfigurations* response) override;
    grpc::Status GetKRELLTftpAddress(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::TftpAddress* response) override;
    grpc::Status GetKRELLDeviceConfigValue(grpc::ServerContext* context,
                                           const vantaapi::KRELLDeviceConfigRequest* request,
                                           vantaapi::KRELLDeviceConfigValue* response) override;
    grpc::Status SetKRELLAutoConfig(grpc::ServerContext* context,
                                    const vantaapi::KRELLAutoConfig* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status GetAvatar(grpc::ServerContext* context, const vantaapi::AvatarRequest* request,
                           google::protobuf::Empty* response) override;
    grpc::Status SetIpv4Config(grpc::ServerContext* context, const vantaapi::Ipv4Config* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status SetStaticDnsConfig(grpc::ServerContext* context,
                                    const vantaapi::DnsConfig* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status ClearStaticDnsConfig(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status SetVlanConfig(grpc::ServerContext* context, const vantaapi::VlanConfig* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status GetVlanConfig(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::VlanConfig* response) override;
    grpc::Status StartOnPremUpgrade(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::RequestStatus* response) override;
    grpc::Status PostponeOnPremUpgrade(grpc::ServerContext* context,
                                       const vantaapi::PostponeOnPremUpgradeRequest* request,
                                       vantaapi::RequestStatus* response) override;
    grpc::Status GetRingtoneList(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::RingtoneList* response) override;
    grpc::Status GetRingTone(grpc::ServerContext* context, const google::protobuf::Empty* request,
                             vantaapi::Ringtone* response) override;
    grpc::Status SetRingTone(grpc::ServerContext* context, const vantaapi::Ringtone* request,
                             vantaapi::Ringtone* response) override;
    grpc::Status SubscribeRemoteVideo(grpc::ServerContext* context,
                                      const vantaapi::SubRemoteVideo* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status UnSubscribeRemoteVideo(grpc::ServerContext* context,
                                        const vantaapi::UnSubRemoteVideo* request,
                                        vantaapi::RequestStatus* response) override;

    // Operations served by the platform, problem reports and the tone player.
    grpc::Status GetSystemInfo(grpc::ServerContext* context,
                               const vantaapi::SystemInfoRequest* request,
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
    grpc::Status GetAccountDetails(grpc::ServerContext* context, const vantaapi::AccountID* request,
                                   vantaapi::AccountDetails* response) override;
    grpc::Status GetCloudConnectivity(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::CloudConnectivityResponse* response) override;
    grpc::Status GetAllMeetings(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::MeetingList* response) override;
    grpc::Status GetCalendarEvents(grpc::ServerContext* context,
                                   const vantaapi::CalendarEventsRequest* request,
                                   vantaapi::CalendarEventList* response) override;
    grpc::Status DismissCalendarEvent(grpc::ServerContext* context,
                                      const vantaapi::CalendarEventRequest* request,
                                      google::protobuf::Empty* response) override;
    grpc::Status DismissCalendarEvents(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
                                       google::protobuf::Empty* response) override;
    grpc::Status StartCallShare(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                google::protobuf::Empty* response) override;
    grpc::Status StopCallShare(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               google::protobuf::Empty* response) override;
    grpc::Status StopAllShares(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               google::protobuf::Empty* response) override;
    grpc::Status StartWiredShare(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 google::protobuf::Empty* response) override;
    grpc::Status GetVideoStatistics(grpc::ServerContext* context,
                                    const vantaapi::MeetingInfo* request,
                                    vantaapi::VideoStatistics* response) override;
    grpc::Status GetActiveShares(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::ActiveShares* response) override;
    grpc::Status EnableBluetooth(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status DisableBluetooth(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status GetBluetoothState(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::BluetoothState* response) override;
    grpc::Status StartBluetoothInquiry(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
                                       vantaapi::RequestStatus* response) override;
    grpc::Status StopBluetoothInquiry(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::RequestStatus* response) override;
    grpc::Status GetInquiryResult(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RemoteBluetoothDeviceList* response) override;
    grpc::Status GetBondedDevices(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RemoteBluetoothDeviceList* response) override;
    grpc::Status PairBluetooth(grpc::ServerContext* context,
                               const vantaapi::BluetoothAddress* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status UnPairBluetooth(grpc::ServerContext* context,
                                 const vantaapi::BluetoothAddress* request,
                                 vantaapi::RequestStatus* response) override;
    grpc::Status ConnectBluetooth(grpc::ServerContext* context,
                                  const vantaapi::BluetoothAddress* request,
                                  vantaapi::RequestStatus* response) override;
    grpc::Status DisconnectBluetooth(grpc::ServerContext* context,
                                     const vantaapi::BluetoothAddress* request,
                                     vantaapi::RequestStatus* response) override;
    grpc::Status GetSpaceInfo(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              vantaapi::SpaceInfo* response) override;
    grpc::Status GetGuestToken(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               vantaapi::TokenResponse* response) override;
    grpc::Status GetManualPairPin(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::ManualPairChallenge* response) override;
    grpc::Status GetNimboServiceStatus(grpc::ServerContext* context,
                                       const vantaapi::NimboServiceRequest* request,
                                       vantaapi::NimboServiceStatus* response) override;
    grpc::Status CertGenerateCSR(grpc::ServerContext* context, const vantaapi::CSRRequest* request,
                                 vantaapi::CSRResp* response) override;
    grpc::Status CertRetrieveCSR(grpc::ServerContext* context,
                                 const vantaapi::CSRRetrieveReq* request,
                                 vantaapi::CSRRetrieveResp* response) override;
    grpc::Status CertSaveLocalPublicKey(grpc::ServerContext* context,
                                        const vantaapi::LocalPublicKeySave* request,
                                        vantaapi::CertSaveResponse* response) override;
    grpc::Status CertSaveCACert(grpc::ServerContext* context, const vantaapi::CACertSave* request,
                                vantaapi::CACertSaveResponse* response) override;
    grpc::Status CertSaveCustomCACert(grpc::ServerContext* context,
                                      const vantaapi::CustomCACertSave* request,
                                      vantaapi::CACertSaveResponse* response) override;
    grpc::Status CertListCertificates(grpc::ServerContext* context,
                                      const vantaapi::CertListQuery* request,
                                      vantaapi::CertListResp* response) override;
    grpc::Status CertDelete(grpc::ServerContext* context, const vantaapi::CertDeleteReq* request,
                            vantaapi::CertDeleteResp* response) override;
    grpc::Status CertInfo(grpc::ServerContext* context, const vantaapi::CertInfoQuery* request,
                          vantaapi::CertInfoResp* response) override;
    grpc::Status CertRetrieveCert(grpc::ServerContext* context,
                                  const vantaapi::CertRetrieveReq* request,
                                  vantaapi::CertRetrieveResp* response) override;
    grpc::Status Wired8021xConfigure(grpc::ServerContext* context,
                                     const vantaapi::Wired8021xConfigRequest* request,
                                     vantaapi::Wired8021xResponse* response) override;
    grpc::Status ListAccountStates(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::AccountStateList* response) override;
    grpc::Status CreateAccount(grpc::ServerContext* context,
                               const vantaapi::ActivationRequest* request,
                               vantaapi::ActivationResponse* response) override;
    grpc::Status DeleteAccount(grpc::ServerContext* context, const vantaapi::AccountID* request,
                               vantaapi::RequestStatus* response) override;
    grpc::Status GetNimboBranding(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::BrandingList* response) override;
    grpc::Status GetCarouselImage(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::CarouselImage* response) override;
    grpc::Status GetSignageState(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::SignageState* response) override;
    grpc::Status ListRecords(grpc::ServerContext* context,
                             const vantaapi::ListRecordsRequest* request,
                             vantaapi::ListRecordsResponse* response) override;
    grpc::Status PhonebookSearch(grpc::ServerContext* context,
                                 const vantaapi::PhonebookSearchRequest* request,
                                 vantaapi::PhonebookSearchResponse* response) override;
    grpc::Status StartSelfView(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               google::protobuf::Empty* response) override;
    grpc::Status StopSelfView(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              google::protobuf::Empty* response) override;
    grpc::Status ChangeVideoBackgroundEffect(
        grpc::ServerContext* context, const vantaapi::ChangeVideoBackgroundEffectRequest* request,
        google::protobuf::Empty* response) override;
    grpc::Status GetCameraState(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::CameraState* response) override;
    grpc::Status GetCameraStreamStatistics(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           vantaapi::CameraStreamStatistics* response) override;
    grpc::Status CameraZoom(grpc::ServerContext* context,
                            const vantaapi::CameraFocalLength* request,
                            google::protobuf::Empty* response) override;
    grpc::Status AdjustCameraBrightness(grpc::ServerContext* context,
                                        const vantaapi::CameraBrightness* request,
                                        vantaapi::RequestStatus* response) override;
    grpc::Status CameraMove(grpc::ServerContext* context,
                            const vantaapi::CameraMoveRequest* request,
                            vantaapi::RequestStatus* response) override;
    grpc::Status GetCameraSettings(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::CameraSettings* response) override;

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

    // Where every backend is; the tone operations create the tone player from
    // it again after a reset.
    const EndpointCatalogue endpoints_;
    std::unique_ptr<pubsub::SubscriptionEventHandler> subscriber_;
    std::unique_ptr<pubsub::Publisher> publisher_;
    std::map<std::string, std::function<void(const pubsub::PubSubMessage&)>> handlers_;
    logging::Logger& logger_;
    Executor& executor_;
    GrpcServerPublisher<vantaapi::VantaEvent> event_publisher_;
    std::shared_ptr<tracing::Tracer> tracer_;
    // The calls of the open Subscribe streams, for end_streams().
    std::mutex streams_mutex_;
    std::set<grpc::ServerContext*> open_streams_;
    bool streams_ended_ = false;

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
    std::unique_ptr<ResetClient> reset_client_;

    // (2) call control
    std::unique_ptr<calling::CallingClient> callproxy_client_;

    // (3) network status reporter, (4) network manager
    std::unique_ptr<networkstatusreporter::Client> networkstatusreporter_client_;
    std::unique_ptr<networkmanager::Client> networkmanager_client_;

    // (5) volume manager, (6) feature manager
    std::unique_ptr<VolumeMgrClient> volumemgr_client_;
    std::unique_ptr<FeatureManagerClient> featuremanager_client_;

    // (7) problem reporter, (8) problem-report status
    std::unique_ptr<problemreport::ProblemReporterClient> problemreporter_client_;
    std::unique_ptr<problemreport::ProblemReportStatusClient> problemreportstatus_client_;

    // (9) Wi-Fi, (10) ultrasound
    std::unique_ptr<wifi::Client> wifi_client_;
    std::unique_ptr<nimboultrasound::Client> nimboultrasound_client_;

    // (11) upgrade manager, (12) avatar
    std::unique_ptr<upgrademanager::UpgradeManagerClient> upgrademanager_client_;
    std::unique_ptr<avatar::Client> avatar_client_;

    // (13) access point, (14) 802.1X, (15) system controller
    std::unique_ptr<accesspoint::Client> accesspoint_client_;
    std::unique_ptr<Ieee8021xClient> ieee8021x_client_;
    std::unique_ptr<systemcontroller::Client> systemcontroller_client_;

    // (16) on-premises security, (17) screen settings
    std::unique_ptr<krellsecurity::Client> krellsecurity_client_;
    std::unique_ptr<screensetting::ScreenSettingClient> screensetting_client_;

    // (18) configuration manager, (19) on-premises configuration, (20) cloud
    // configuration
    std::unique_ptr<configmanager::Client> configmanager_client_;
    std::unique_ptr<krellconfigmanager::Client> krellconfigmanager_client_;
    std::unique_ptr<nimboconfigmanager::Client> nimboconfigmanager_client_;

    // (21) HDMI input, (22) ringer
    std::unique_ptr<HdmiRxClient> hdmirx_client_;
    std::unique_ptr<ringer::Client> ringer_client_;

    // (23) media session
    std::unique_ptr<mediasession::Client> mediasession_client_;

    // Cleared by the destructor: work that the executor still holds for this
    // object then does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vanta
