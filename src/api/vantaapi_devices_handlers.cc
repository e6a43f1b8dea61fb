// The operations served by the audio, ringer, reset, system, screen, HDMI
// input, 802.1X, upgrade and feature clients.

#include <optional>

#include <google/protobuf/stubs/common.h>

#include "api/devices_conversions.h"
#include "api/handler_kinds.h"
#include "api/vantaapi_impl.h"
#include "platform/platform_info.h"

namespace vanta {

namespace {

// The copies of a backend's reply into the API's response that
// answer_or_unavailable() makes when there is a reply.
auto copy_volume(vantaapi::VolumeStatus* response) {
    return
        [response](const volumemgr::VolumeStatus& reply) { response->set_volume(reply.volume()); };
}

auto copy_mute(vantaapi::MuteStatus* response) {
    return
        [response](const volumemgr::MuteStatus& reply) { response->set_is_mute(reply.is_mute()); };
}

template <typename Reply>
auto copy_success(vantaapi::RequestStatus* response) {
    return [response](const Reply& reply) { response->set_success(reply.success()); };
}

}  // namespace

grpc::Status VantaApiImpl::GetVersion(grpc::ServerContext* context,
                                      const google::protobuf::Empty* /*request*/,
                                      vantaapi::VersionInfo* response) {
    return serve(context, "GetVersion", [&] {
        response->set_version(upgrademanager_client_->GetVersionInfo());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetUpgradeInfo(grpc::ServerContext* context,
                                          const vantaapi::StatusRequest* /*request*/,
                                          vantaapi::UpgradeInfo* response) {
    return serve(context, "GetUpgradeInfo", [&] {
        std::string channel;
        const grpc::Status status = api::guarded(
            "GetUpgradeInfo", [&] { channel = upgrademanager_client_->GetUpgradeInfo(); });
        response->set_channel(channel);
        return status;
    });
}

grpc::Status VantaApiImpl::GetUpgradeState(grpc::ServerContext* context,
                                           const vantaapi::StatusRequest* /*request*/,
                                           vantaapi::UpgradeState* response) {
    return serve(context, "GetUpgradeState", [&] {
        response->set_state(api::api_upgrade_state(upgrademanager_client_->GetUpgradeState()));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::FactoryReset(grpc::ServerContext* context,
                                        const vantaapi::FactoryResetRequest* /*request*/,
                                        vantaapi::RequestStatus* response) {
    return serve(context, "FactoryReset", [&] {
        return api::guarded_with_log(logger_, "FactoryReset", "reset_client",
                                     "reset_client: FactoryReset failed",
                                     [&] { response->set_success(reset_client_->FactoryReset()); });
    });
}

grpc::Status VantaApiImpl::RequestFactoryReset(grpc::ServerContext* context,
                                               const google::protobuf::Empty* /*request*/,
                                               vantaapi::Response* response) {
    return serve(context, "RequestFactoryReset", [&] {
        bool accepted = false;
        const grpc::Status status = api::guarded(
            "RequestFactoryReset", [&] { accepted = reset_client_->RequestFactoryReset(); });
        response->set_success(accepted);
        return status;
    });
}

grpc::Status VantaApiImpl::RestartNetwork(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "RestartNetwork", [&] {
        return api::guarded_with_log(
            logger_, "RestartNetwork", "reset_client", "resetclient: RestartNetwork failed",
            [&] { response->set_success(reset_client_->RestartNetwork()); });
    });
}

grpc::Status VantaApiImpl::Reboot(grpc::ServerContext* context,
                                  const vantaapi::RebootRequest* request,
                                  vantaapi::RequestStatus* response) {
    return serve(context, "Reboot", [&] {
        return api::answer_or_unavailable(systemcontroller_client_->Reboot(request->force()),
                                          "reset_client: Reboot failed",
                                          copy_success<systemcontroller::RequestStatus>(response));
    });
}

grpc::Status VantaApiImpl::Shutdown(grpc::ServerContext* context,
                                    const vantaapi::ShutdownRequest* /*request*/,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "Shutdown", [&] {
        return api::guarded_with_log(logger_, "Shutdown", "reset_client",
                                     "resetclient: Shutdown failed",
                                     [&] { response->set_success(reset_client_->Shutdown()); });
    });
}

grpc::Status VantaApiImpl::ClearOobState(grpc::ServerContext* context,
                                         const vantaapi::ClearOobRequest* /*request*/,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "ClearOobState", [&] {
        return api::answer_or_unavailable(systemcontroller_client_->ClearOobState(),
                                          "Get clear oob state client FAILED",
                                          copy_success<systemcontroller::RequestStatus>(response));
    });
}

grpc::Status VantaApiImpl::InstallLocalPackage(grpc::ServerContext* context,
                                               const vantaapi::InstallLocalPackageRequest* request,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "InstallLocalPackage", [&] {
        response->set_success(
            upgrademanager_client_->InstallLocalPackage(request->package_file_name()));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetHdmiState(grpc::ServerContext* context,
                                        const google::protobuf::Empty* /*request*/,
                                        vantaapi::HdmiRxState* response) {
    return serve(context, "GetHdmiState", [&]() -> grpc::Status {
        if (!platform::is_wired_share_supported()) {
            return grpc::Status(grpc::StatusCode::UNIMPLEMENTED, "GetHdmiState NOT SUPPORTED");
        }
        std::optional<hdmirx::HdmiState> state;
        const grpc::Status status =
            api::guarded("GetHdmiState", [&] { state = hdmirx_client_->GetHdmiState(); });
        if (!status.ok()) {
            return status;
        }
        if (!state) {
            return grpc::Status(grpc::StatusCode::UNAVAILABLE, "GetHdmiState hdmirx client FAILED");
        }
        response->set_is_plugged_in(state->plugged() == hdmirx::HdmiState::PLUGGED_IN);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::StartLocalWiredShare(grpc::ServerContext* context,
                                                const google::protobuf::Empty* /*request*/,
                                                vantaapi::RequestStatus* response) {
    return serve(context, "StartLocalWiredShare", [&] {
        response->set_success(hdmirx_client_->StartLocalWiredShare() ==
                              hdmirx::RenderResponse::SUCCESS);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::StopLocalWiredShare(grpc::ServerContext* context,
                                               const google::protobuf::Empty* /*request*/,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "StopLocalWiredShare", [&] {
        response->set_success(hdmirx_client_->StopLocalWiredShare() ==
                              hdmirx::RenderResponse::SUCCESS);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetLocalWiredShareStatistics(
    grpc::ServerContext* context, const google::protobuf::Empty* /*request*/,
    vantaapi::LocalWiredShareStatistics* response) {
    return serve(context, "GetLocalWiredShareStatistics", [&]() -> grpc::Status {
        if (!platform::is_wired_share_supported()) {
            return grpc::Status(grpc::StatusCode::UNIMPLEMENTED,
                                "GetLocalWiredShareStatistics NOT SUPPORTED");
        }
        return api::answer_or_unavailable(
            hdmirx_client_->GetLocalWiredShareStatistics(),
            "GetLocalWiredShareStatistics hdmirx client FAILED",
            [&](const hdmirx::LocalWiredShareStatistics& statistics) {
                response->set_average_output_frame_rate(
                    static_cast<int32_t>(statistics.average_output_frame_rate()));
                response->set_duration_secs(static_cast<int32_t>(statistics.duration_secs()));
            });
    });
}

grpc::Status VantaApiImpl::GetUltraSoundVolume(grpc::ServerContext* context,
                                               const vantaapi::VolumeRequest* request,
                                               vantaapi::VolumeStatus* response) {
    return serve(context, "GetUltraSoundVolume", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->GetUltraSoundVolume(api::backend_volume_request(*request)),
            "GetUltraSoundVolume volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::SetUltraSoundVolume(grpc::ServerContext* context,
                                               const vantaapi::VolumeRequest* request,
                                               vantaapi::VolumeStatus* response) {
    return serve(context, "SetUltraSoundVolume", [&] {
        // API clients know this failure by the getter's text.
        return api::answer_or_unavailable(
            volumemgr_client_->SetUltraSoundVolume(api::backend_volume_request(*request)),
            "GetUltraSoundVolume volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::VolumeUp(grpc::ServerContext* context,
                                    const vantaapi::VolumeRequest* request,
                                    vantaapi::VolumeStatus* response) {
    return serve(context, "VolumeUp", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->VolumeUp(api::backend_volume_request(*request)),
            "VolumeUp volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::VolumeDown(grpc::ServerContext* context,
                                      const vantaapi::VolumeRequest* request,
                                      vantaapi::VolumeStatus* response) {
    return serve(context, "VolumeDown", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->VolumeDown(api::backend_volume_request(*request)),
            "VolumeDown volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::SetVolume(grpc::ServerContext* context,
                                     const vantaapi::VolumeRequest* request,
                                     vantaapi::VolumeStatus* response) {
    return serve(context, "SetVolume", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->SetVolume(api::backend_volume_request(*request)),
            "SetVolume volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::GetCurrentVolume(grpc::ServerContext* context,
                                            const google::protobuf::Empty* /*request*/,
                                            vantaapi::VolumeStatus* response) {
    return serve(context, "GetCurrentVolume", [&] {
        return api::answer_or_unavailable(volumemgr_client_->GetCurrentVolume(),
                                          "GetCurrentVolume volumemgr client FAILED",
                                          copy_volume(response));
    });
}

grpc::Status VantaApiImpl::SetRingerVolume(grpc::ServerContext* context,
                                           const vantaapi::VolumeRequest* request,
                                           vantaapi::VolumeStatus* response) {
    return serve(context, "SetRingerVolume", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->SetRingerVolume(api::backend_volume_request(*request)),
            "SetRingerVolume volumemgr client FAILED", copy_volume(response));
    });
}

grpc::Status VantaApiImpl::GetRingerVolume(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::VolumeStatus* response) {
    return serve(context, "GetRingerVolume", [&] {
        return api::answer_or_unavailable(volumemgr_client_->GetRingerVolume(),
                                          "GetRingerVolume volumemgr client FAILED",
                                          copy_volume(response));
    });
}

grpc::Status VantaApiImpl::SetAudioMute(grpc::ServerContext* context,
                                        const vantaapi::MuteRequest* request,
                                        vantaapi::MuteStatus* response) {
    return serve(context, "SetAudioMute", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->SetAudioMute(api::backend_mute_request(*request)),
            "SetAudioMute volumemgr client FAILED", copy_mute(response));
    });
}

grpc::Status VantaApiImpl::ToggleAudioMute(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::MuteStatus* response) {
    return serve(context, "ToggleAudioMute", [&] {
        return api::answer_or_unavailable(volumemgr_client_->ToggleAudioMute(),
                                          "ToggleAudioMute volumemgr client FAILED",
                                          copy_mute(response));
    });
}

grpc::Status VantaApiImpl::IsAudioMute(grpc::ServerContext* context,
                                       const google::protobuf::Empty* /*request*/,
                                       vantaapi::MuteStatus* response) {
    return serve(context, "IsAudioMute", [&] {
        return api::answer_or_unavailable(volumemgr_client_->IsAudioMute(),
                                          "IsAudioMute volumemgr client FAILED",
                                          copy_mute(response));
    });
}

grpc::Status VantaApiImpl::StartRinger(grpc::ServerContext* context,
                                       const vantaapi::RingerData* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "StartRinger", [&] {
        return api::guarded_with_log(
            logger_, "StartRinger", "ringer_client", "StartRinger ringer client FAILED",
            [&] { response->set_success(ringer_client_->StartRinger(request->name())); });
    });
}

grpc::Status VantaApiImpl::StopRinger(grpc::ServerContext* context,
                                      const google::protobuf::Empty* /*request*/,
                                      vantaapi::RequestStatus* response) {
    return serve(context, "StopRinger", [&] {
        return api::guarded_with_log(logger_, "StopRinger", "ringer_client",
                                     "StopRinger ringer client FAILED",
                                     [&] { response->set_success(ringer_client_->StopRinger()); });
    });
}

grpc::Status VantaApiImpl::EnableFeature(grpc::ServerContext* context,
                                         const vantaapi::FeatureInfo* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "EnableFeature", [&] {
        return api::answer_or_unavailable(
            featuremanager_client_->EnableFeature(request->feature_name()),
            "EnableFeature featuremanager client FAILED",
            copy_success<featuremanager::RequestResult>(response));
    });
}

grpc::Status VantaApiImpl::DisableFeature(grpc::ServerContext* context,
                                          const vantaapi::FeatureInfo* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "DisableFeature", [&] {
        return api::answer_or_unavailable(
            featuremanager_client_->DisableFeature(request->feature_name()),
            "DisableFeature featuremanager client FAILED",
            copy_success<featuremanager::RequestResult>(response));
    });
}

grpc::Status VantaApiImpl::GetFeature(grpc::ServerContext* context,
                                      const vantaapi::FeatureInfo* request,
                                      vantaapi::FeatureInfo* response) {
    return serve(context, "GetFeature", [&] {
        return api::answer_or_unavailable(
            featuremanager_client_->GetFeatureInfo(request->feature_name()),
            "GetFeature featuremanager client FAILED",
            [&](const featuremanager::FeatureInfo& feature) {
                api::copy_feature(feature, response);
            });
    });
}

grpc::Status VantaApiImpl::GetAllFeatures(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::AllFeatures* /*response*/) {
    return serve(context, "GetAllFeatures", [&]() -> grpc::Status {
        const auto features = featuremanager_client_->GetAllFeatures();
        if (!features) {
            return grpc::Status(grpc::StatusCode::UNAVAILABLE,
                                "GetAllFeatures featuremanager client FAILED");
        }
        // The established answer of this operation: each feature was to go to
        // the entry of the same index of the answer's list, which is never
        // grown, so a device with features answers the bounds check's text.
        // One without features answers OK with an empty list.
        if (features->features_size() > 0) {
            return grpc::Status(grpc::StatusCode::UNAVAILABLE,
                                "CHECK failed: (index) < (current_size_): ");
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetSystemState(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::SystemState* response) {
    return serve(context, "GetSystemState", [&] {
        return api::answer_or_unavailable(
            systemcontroller_client_->GetState(), "Get system state client FAILED",
            [&](const systemcontroller::StateResponse& reply) {
                response->set_state(api::api_system_state(reply.state()));
            });
    });
}

grpc::Status VantaApiImpl::GetDeviceState(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::DeviceState* response) {
    return serve(context, "GetDeviceState", [&] {
        return api::answer_or_unavailable(
            systemcontroller_client_->GetDeviceState(), "Get device state client FAILED",
            [&](const systemcontroller::DeviceStateResponse& reply) {
                response->set_state(api::api_device_state(reply.device_state()));
            });
    });
}

grpc::Status VantaApiImpl::Wired8021xGetConfigInfo(grpc::ServerContext* context,
                                                   const google::protobuf::Empty* /*request*/,
                                                   vantaapi::Wired8021xConfiguration* response) {
    return serve(context, "Wired8021xGetConfigInfo", [&] {
        ieee8021x::Ieee8021xConfig config;
        const grpc::Status status = api::guarded(
            "Wired8021xGetConfigInfo", [&] { config = ieee8021x_client_->GetIeee8021xConfig(); });
        response->set_ca_cert_handle(config.ca_cert_handle());
        response->set_client_cert_handle(config.client_cert_handle());
        return status;
    });
}

grpc::Status VantaApiImpl::GetScreenBrightness(grpc::ServerContext* context,
                                               const google::protobuf::Empty* /*request*/,
                                               vantaapi::ScreenBrightnessStatus* response) {
    return serve(context, "GetScreenBrightness", [&] {
        screensetting::ScreenBrightnessResponse brightness;
        const grpc::Status status = api::guarded("GetScreenBrightness", [&] {
            brightness = screensetting_client_->GetScreenBrightness();
        });
        response->set_success(brightness.status().success());
        response->set_brightness_percentage(brightness.brightness_percentage());
        return status;
    });
}

grpc::Status VantaApiImpl::SetScreenBrightness(grpc::ServerContext* context,
                                               const vantaapi::ScreenBrightness* request,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "SetScreenBrightness", [&] {
        bool accepted = false;
        const grpc::Status status = api::guarded("SetScreenBrightness", [&] {
            accepted = screensetting_client_->SetScreenBrightness(request->brightness_percentage());
        });
        response->set_success(accepted);
        return status;
    });
}

grpc::Status VantaApiImpl::GetScreenBacklight(grpc::ServerContext* context,
                                              const google::protobuf::Empty* /*request*/,
                                              vantaapi::ScreenBacklightStatus* response) {
    return serve(context, "GetScreenBacklight", [&] {
        screensetting::ScreenBacklightResponse backlight;
        const grpc::Status status = api::guarded(
            "GetScreenBacklight", [&] { backlight = screensetting_client_->GetScreenBacklight(); });
        response->set_success(backlight.status().success());
        response->set_backlight_state(backlight.backlight_state());
        return status;
    });
}

grpc::Status VantaApiImpl::SetScreenBacklight(grpc::ServerContext* context,
                                              const vantaapi::ScreenBacklight* request,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "SetScreenBacklight", [&] {
        bool accepted = false;
        const grpc::Status status = api::guarded("SetScreenBacklight", [&] {
            accepted = screensetting_client_->SetScreenBacklight(request->backlight_state());
        });
        response->set_success(accepted);
        return status;
    });
}

grpc::Status VantaApiImpl::SetIeee8021xState(grpc::ServerContext* context,
                                             const vantaapi::Ieee8021xState* request,
                                             vantaapi::RequestStatus* response) {
    return serve(context, "SetIeee8021xState", [&] {
        bool accepted = false;
        const grpc::Status status = api::guarded("SetIeee8021xState", [&] {
            accepted = ieee8021x_client_->SetIeee8021xState(request->enabled());
        });
        response->set_success(accepted);
        return status;
    });
}

grpc::Status VantaApiImpl::GetIeee8021xState(grpc::ServerContext* context,
                                             const google::protobuf::Empty* /*request*/,
                                             vantaapi::Ieee8021xState* response) {
    return serve(context, "GetIeee8021xState", [&] {
        bool enabled = false;
        const grpc::Status status = api::guarded(
            "GetIeee8021xState", [&] { enabled = ieee8021x_client_->GetIeee8021xState(); });
        response->set_enabled(enabled);
        return status;
    });
}

// The upgrade manager answers these commands with no value: a call that
// returns was accepted.

grpc::Status VantaApiImpl::StartDownload(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "StartDownload", [&] {
        upgrademanager_client_->StartDownload();
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::PostponeDownload(grpc::ServerContext* context,
                                            const vantaapi::PostponeDownloadRequest* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "PostponeDownload", [&] {
        upgrademanager_client_->PostponeDownload(request->postpone_seconds());
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SetUpgradeLimitHour(grpc::ServerContext* context,
                                               const vantaapi::UpgradeLimitHourRequest* request,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "SetUpgradeLimitHour", [&] {
        upgrademanager_client_->SetUpgradeLimitHour(request->limit_hour());
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SetUpgradeChannel(grpc::ServerContext* context,
                                             const vantaapi::UpgradeChannelRequest* request,
                                             vantaapi::RequestStatus* response) {
    return serve(context, "SetUpgradeChannel", [&] {
        upgrademanager_client_->SetUpgradeChannel(request->channel());
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::ShowAvailableAudioPath(grpc::ServerContext* context,
                                                  const google::protobuf::Empty* /*request*/,
                                                  vantaapi::AvailablePathEventList* response) {
    return serve(context, "ShowAvailableAudioPath", [&] {
        volumemgr::AudioDeviceEventList paths;
        const grpc::Status status = api::guarded("ShowAvailableAudioPath", [&] {
            paths = volumemgr_client_->AvailableVolumeControlPath();
        });
        for (const auto& path : paths.device_list()) {
            api::copy_audio_path(path, response->add_device_list());
        }
        return status;
    });
}

// The audio-path failures carry their texts as they stand, braces included:
// API clients match them verbatim.

grpc::Status VantaApiImpl::SetAudioPath(grpc::ServerContext* context,
                                        const vantaapi::AvailablePathEvent* request,
                                        vantaapi::SetAudioPathStatus* response) {
    return serve(context, "SetAudioPath", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->SetVolumeControlPath(api::backend_audio_path(*request)),
            "{}:SetAudioPath fail", [&](const volumemgr::SetAudioPathResponse& reply) {
                response->set_is_success(reply.success());
            });
    });
}

grpc::Status VantaApiImpl::ShowCurrentAudioPath(grpc::ServerContext* context,
                                                const google::protobuf::Empty* /*request*/,
                                                vantaapi::AvailablePathEvent* response) {
    return serve(context, "ShowCurrentAudioPath", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->CurrentVolumeControlPath(), "{}:SetAudioPath fail",
            [&](const volumemgr::AudioDeviceEvent& path) { api::copy_audio_path(path, response); });
    });
}

grpc::Status VantaApiImpl::SetAudioHub(grpc::ServerContext* context,
                                       const vantaapi::AudioHubRequest* request,
                                       vantaapi::SetAudioHubStatus* response) {
    return serve(context, "SetAudioHub", [&] {
        return api::answer_or_unavailable(
            volumemgr_client_->SetAudioHub(request->audio_hub_state()), "{}:SetAudioHub fail",
            [&](const volumemgr::SetAudioHubStatus& reply) {
                response->set_is_enabled(reply.is_enabled());
            });
    });
}

grpc::Status VantaApiImpl::IsAudioHubEnabled(grpc::ServerContext* context,
                                             const google::protobuf::Empty* /*request*/,
                                             vantaapi::AudioHubStatus* response) {
    return serve(context, "IsAudioHubEnabled", [&] {
        bool enabled = false;
        const grpc::Status status = api::guarded(
            "IsAudioHubEnabled", [&] { enabled = volumemgr_client_->IsAudioHubEnabled(); });
        response->set_is_enabled(enabled);
        return status;
    });
}

}  // namespace vanta
