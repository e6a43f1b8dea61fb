// Operations served by the cloud configuration, on-premises security and
// configuration, device configuration, ultrasound and avatar clients.

#include <map>
#include <string>

#include "api/enum_by_number.h"
#include "api/handler_kinds.h"
#include "api/vantaapi_impl.h"
#include "platform/platform_info.h"

namespace vanta {

namespace {

void copy_account_info(const nimboconfigmanager::AccountInfo& info,
                       vantaapi::AccountInfo& response) {
    response.set_uuid(info.uuid());
    response.set_display_name(info.display_name());
    response.set_org_id(info.org_id());
    response.set_org_display_name(info.org_display_name());
    response.set_sip_address(info.sip_address());
    response.set_type(api::by_number<vantaapi::AccountInfo::AccountType>(
        info.type(), vantaapi::AccountInfo::AccountType_IsValid));
    response.set_internal_phone_number(info.internal_phone_number());
    response.set_external_phone_number(info.external_phone_number());
}

// The on-premises configuration exists only on models that can run the
// on-premises call control.
bool on_premises_supported() {
    return platform::is_backend_service_supported(platform::BackendService::Krell);
}

grpc::Status not_supported(const char* operation) {
    return grpc::Status(grpc::StatusCode::UNIMPLEMENTED,
                        std::string(operation) + " is not supported");
}

const char* const kConfigManagerClient = "config_manager_client";

}  // namespace

grpc::Status VantaApiImpl::GetAccountInfo(grpc::ServerContext* context,
                                          const vantaapi::AccountInfoRequest* /*request*/,
                                          vantaapi::AccountInfo* response) {
    return serve(context, "GetAccountInfo", [&] {
        return api::answer_or_unavailable(nimboconfigmanager_client_->GetAccountInfo(),
                                          "GetAccountInfo configuration client FAILED",
                                          [&](const nimboconfigmanager::AccountInfo& info) {
                                              copy_account_info(info, *response);
                                          });
    });
}

grpc::Status VantaApiImpl::GetSharedAccountInfo(grpc::ServerContext* context,
                                                const vantaapi::AccountInfoRequest* /*request*/,
                                                vantaapi::AccountInfo* response) {
    return serve(context, "GetSharedAccountInfo", [&] {
        return api::answer_or_unavailable(nimboconfigmanager_client_->GetSharedAccountInfo(),
                                          "GetSharedAccountInfo configuration client FAILED",
                                          [&](const nimboconfigmanager::AccountInfo& info) {
                                              copy_account_info(info, *response);
                                          });
    });
}

grpc::Status VantaApiImpl::InstallCTL(grpc::ServerContext* context,
                                      const vantaapi::InstallCTLRequest* request,
                                      vantaapi::Response* response) {
    return serve(context, "InstallCTL", [&] {
        return api::answer_or_unavailable(
            krellsecurity_client_->InstallCTL(request->filepath(), request->verify_signature()),
            "InstallCTL krell security client FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::InstallITL(grpc::ServerContext* context,
                                      const vantaapi::InstallITLRequest* request,
                                      vantaapi::Response* response) {
    return serve(context, "InstallITL", [&] {
        return api::answer_or_unavailable(
            krellsecurity_client_->InstallITL(request->filepath(), request->verify_signature()),
            "InstallITL krell security client FAILED", [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::ResetTrustList(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::Response* response) {
    return serve(context, "ResetTrustList", [&] {
        return api::answer_or_unavailable(krellsecurity_client_->ResetTrustList(),
                                          "ResetTrustList krell security client FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::RequireSignedFiles(grpc::ServerContext* context,
                                              const google::protobuf::Empty* /*request*/,
                                              vantaapi::Response* response) {
    return serve(context, "RequireSignedFiles", [&] {
        return api::answer_or_unavailable(krellsecurity_client_->RequireSignedFiles(),
                                          "RequireSignedFiles krell security client FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::IsServerSecure(grpc::ServerContext* context,
                                          const vantaapi::ServerTypeInfo* request,
                                          vantaapi::Response* response) {
    return serve(context, "IsServerSecure", [&] {
        return api::answer_or_unavailable(
            krellsecurity_client_->IsServerSecure(api::by_number<krellsecurity::ServerType>(
                request->type(), krellsecurity::ServerType_IsValid)),
            "IsServerSecure krell security client FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

namespace {
void copy_file_verify_response(const krellsecurity::FileVerifyResponse& verified,
                               vantaapi::FileVerifyResponse& response) {
    response.set_result(verified.result());
    response.set_code(api::by_number<vantaapi::ConfigFileValidationResultCode>(
        verified.code(), vantaapi::ConfigFileValidationResultCode_IsValid));
    response.set_payload(verified.payload());
}
}  // namespace

grpc::Status VantaApiImpl::VerifyConfigFile(grpc::ServerContext* context,
                                            const vantaapi::VerifyConfigFileRequest* request,
                                            vantaapi::FileVerifyResponse* response) {
    return serve(context, "VerifyConfigFile", [&] {
        krellsecurity::VerifyConfigFileRequest verify;
        verify.set_filepath(request->filepath());
        verify.set_identity(request->identity());
        verify.set_verify_signature(request->verify_signature());
        return api::answer_or_unavailable(krellsecurity_client_->VerifyConfigFile(verify),
                                          "VerifyConfigFile krell security client FAILED",
                                          [&](const krellsecurity::FileVerifyResponse& verified) {
                                              copy_file_verify_response(verified, *response);
                                          });
    });
}

grpc::Status VantaApiImpl::VerifyLoadsFile(grpc::ServerContext* context,
                                           const vantaapi::VerifyLoadsFileRequest* request,
                                           vantaapi::FileVerifyResponse* response) {
    return serve(context, "VerifyLoadsFile", [&] {
        copy_file_verify_response(krellsecurity_client_->VerifyLoadsFile(request->filepath()),
                                  *response);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::StartCapf(grpc::ServerContext* context,
                                     const vantaapi::StartCapfRequest* request,
                                     vantaapi::CapfResponse* response) {
    return serve(context, "StartCapf", [&] {
        krellsecurity::StartCapfRequest capf;
        capf.set_server(request->server());
        capf.set_port(request->port());
        capf.set_authentication(request->authentication());
        capf.set_identity(request->identity());
        capf.set_server_mode(api::by_number<krellsecurity::CapfServerMode>(
            request->server_mode(), krellsecurity::CapfServerMode_IsValid));
        capf.set_reason(api::by_number<krellsecurity::CapfReason>(
            request->reason(), krellsecurity::CapfReason_IsValid));
        return api::answer_or_unavailable(
            krellsecurity_client_->StartCapf(capf), "StartCapf krell security client FAILED",
            [&](const krellsecurity::CapfResponse& answer) {
                response->set_status(answer.status());
                response->set_code(api::by_number<vantaapi::CapfResponseCode>(
                    answer.code(), vantaapi::CapfResponseCode_IsValid));
            });
    });
}

grpc::Status VantaApiImpl::GetTrustListInfo(grpc::ServerContext* context,
                                            const google::protobuf::Empty* /*request*/,
                                            vantaapi::SecTrustListInfo* response) {
    return serve(context, "GetTrustListInfo", [&] {
        return api::answer_or_unavailable(krellsecurity_client_->GetTrustListInfo(),
                                          "GetTrustListInfo krell security client FAILED",
                                          [&](const krellsecurity::SecTrustListInfo& info) {
                                              response->set_num_ctl_entries(info.num_ctl_entries());
                                              response->set_num_itl_entries(info.num_itl_entries());
                                              response->set_ctl_hash(info.ctl_hash());
                                              response->set_itl_hash(info.itl_hash());
                                          });
    });
}

grpc::Status VantaApiImpl::GetTrustListItem(grpc::ServerContext* context,
                                            const vantaapi::TrustListIndex* request,
                                            vantaapi::SecTrustListItem* response) {
    return serve(context, "GetTrustListItem", [&] {
        return api::answer_or_unavailable(
            krellsecurity_client_->GetTrustListItem(
                request->index(), api::by_number<krellsecurity::TrustListSource>(
                                      request->source(), krellsecurity::TrustListSource_IsValid)),
            "GetTrustListItem krell security client FAILED",
            [&](const krellsecurity::SecTrustListItem& item) {
                response->set_role(
                    api::by_number<vantaapi::SecRole>(item.role(), vantaapi::SecRole_IsValid));
                response->set_subject_dns_name(item.subject_dns_name());
                response->set_subject_name(item.subject_name());
                response->set_issuer_name(item.issuer_name());
                response->set_serial_number(item.serial_number());
                response->set_fingerprint(item.fingerprint());
            });
    });
}

grpc::Status VantaApiImpl::GetDeviceCertificateStatus(
    grpc::ServerContext* context, const vantaapi::DeviceCertificateStatusRequest* request,
    vantaapi::Response* response) {
    return serve(context, "GetDeviceCertificateStatus", [&] {
        return api::answer_or_unavailable(
            krellsecurity_client_->GetCertificateStatus(
                api::by_number<krellsecurity::CertificateType>(
                    request->cert_type(), krellsecurity::CertificateType_IsValid)),
            "GetCertificateStatus krell security client FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::GetGlintServiceMap(grpc::ServerContext* context,
                                              const google::protobuf::Empty* /*request*/,
                                              vantaapi::GlintServiceMapResponse* response) {
    return serve(context, "GetGlintServiceMap", [&] {
        const auto services = nimboconfigmanager_client_->GetServiceMap();
        if (!services) {
            logger_.error("{}", "Failed to get service map from configuration");
            return grpc::Status::OK;
        }
        // Sorted by service name, so that callers see a stable order.
        const std::map<std::string, std::string> sorted(services->service_map().begin(),
                                                        services->service_map().end());
        for (const auto& [name, uri] : sorted) {
            vantaapi::ServiceMapEntry* entry = response->add_service_map();
            entry->set_servicename(name);
            entry->set_serviceuri(uri);
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetPairedUsers(grpc::ServerContext* context,
                                          const google::protobuf::Empty* /*request*/,
                                          vantaapi::PairedUsers* response) {
    return serve(context, "GetPairedUsers", [&] {
        return api::answer_or_unavailable(
            nimboultrasound_client_->GetPairedUsers(), "GetPairedUsers client FAILED",
            [&](const nimboultrasound::PairedUsers& paired) {
                for (const nimboultrasound::UserData& user : paired.users()) {
                    vantaapi::UserData* data = response->add_users();
                    data->set_name(user.name());
                    data->set_uuid(user.uuid());
                }
            });
    });
}

grpc::Status VantaApiImpl::GetBeaconStatus(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::BeaconStatus* response) {
    return serve(context, "GetBeaconStatus", [&] {
        return api::answer_or_unavailable(
            nimboultrasound_client_->GetServiceState(), "GetServiceState client FAILED",
            [&](nimboultrasound::NimboUltraSoundState state) {
                response->set_status(state == nimboultrasound::ENABLE
                                         ? vantaapi::BeaconStatus::ENABLED
                                         : vantaapi::BeaconStatus::DISABLED);
            });
    });
}

grpc::Status VantaApiImpl::SetBeaconStatus(grpc::ServerContext* context,
                                           const vantaapi::BeaconStatus* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "SetBeaconStatus", [&] {
        const auto answer = [&](bool ok) { response->set_success(ok); };
        if (request->status() == vantaapi::BeaconStatus::ENABLED) {
            return api::answer_or_unavailable(nimboultrasound_client_->Enable(),
                                              "Nimbo Ultrasound: enable client FAILED", answer);
        }
        return api::answer_or_unavailable(nimboultrasound_client_->Disable(),
                                          "Nimbo Ultrasound: disable client FAILED", answer);
    });
}

grpc::Status VantaApiImpl::GetLatestPairingToken(grpc::ServerContext* context,
                                                 const google::protobuf::Empty* /*request*/,
                                                 vantaapi::TokenResponse* response) {
    return serve(context, "GetLatestPairingToken", [&] {
        return api::answer_or_unavailable(
            nimboultrasound_client_->GetLatestPairingToken(), "GetLatestPairingToken client FAILED",
            [&](const std::string& token) { response->set_token(token); });
    });
}

grpc::Status VantaApiImpl::GetPairingId(grpc::ServerContext* context,
                                        const google::protobuf::Empty* /*request*/,
                                        vantaapi::PairingId* response) {
    return serve(context, "GetPairingId", [&] {
        response->set_uuid(nimboconfigmanager_client_->GetPairingId());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetLanguage(grpc::ServerContext* context,
                                       const google::protobuf::Empty* /*request*/,
                                       vantaapi::LanguageInfo* response) {
    return serve(context, "GetLanguage", [&] {
        return api::guarded_with_log(logger_, "GetLanguage", kConfigManagerClient,
                                     "GetLanguage: configmanager client FAILED", [&] {
                                         response->set_language(configmanager_client_->GetLocale());
                                     });
    });
}

grpc::Status VantaApiImpl::SetLanguage(grpc::ServerContext* context,
                                       const vantaapi::LanguageInfo* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "SetLanguage", [&] {
        return api::guarded_with_log(
            logger_, "SetLanguage", kConfigManagerClient, "SetLanguage configmanager client FAILED",
            [&] { response->set_success(configmanager_client_->SetLocale(request->language())); });
    });
}

grpc::Status VantaApiImpl::GetTimezone(grpc::ServerContext* context,
                                       const google::protobuf::Empty* /*request*/,
                                       vantaapi::TimezoneInfo* response) {
    return serve(context, "GetTimezone", [&] {
        return api::guarded_with_log(logger_, "GetTimezone", kConfigManagerClient,
                                     "GetTimezone: configmanager client FAILED", [&] {
                                         const configmanager::TimezoneData timezone =
                                             configmanager_client_->GetTimezone();
                                         response->set_timezone(timezone.timezone());
                                         response->set_date_template(timezone.date_template());
                                     });
    });
}

grpc::Status VantaApiImpl::SetTimezone(grpc::ServerContext* context,
                                       const vantaapi::TimezoneInfo* request,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "SetTimezone", [&] {
        return api::guarded_with_log(logger_, "SetTimezone", kConfigManagerClient,
                                     "SetTimezone configmanager client FAILED", [&] {
                                         response->set_success(configmanager_client_->SetTimezone(
                                             request->timezone(), request->date_template()));
                                     });
    });
}

grpc::Status VantaApiImpl::GetGeoServiceInfo(grpc::ServerContext* context,
                                             const google::protobuf::Empty* /*request*/,
                                             vantaapi::GeoServiceInfo* response) {
    return serve(context, "GetGeoServiceInfo", [&] {
        configmanager::GeoServiceInfoData info;
        const grpc::Status status = api::guarded(
            "GetGeoServiceInfo", [&] { info = configmanager_client_->GetGeoServiceInfo(); });
        response->set_timezone(info.timezone());
        response->set_country_code(info.country_code());
        response->set_region_code(info.region_code());
        response->set_client_address(info.client_address());
        return status;
    });
}

grpc::Status VantaApiImpl::GetGuiSettingsEnabled(grpc::ServerContext* context,
                                                 const google::protobuf::Empty* /*request*/,
                                                 vantaapi::GuiSettingsEnabledInfo* response) {
    return serve(context, "GetGuiSettingsEnabled", [&] {
        return api::guarded_with_log(
            logger_, "GetGuiSettingsEnabled", kConfigManagerClient,
            "GetGuiSettingsEnabled: configmanager client FAILED", [&] {
                response->set_gui_settings_enabled(configmanager_client_->GetGuiSettingsEnabled());
            });
    });
}

grpc::Status VantaApiImpl::GetKrellDeviceConfigs(grpc::ServerContext* context,
                                                 const google::protobuf::Empty* /*request*/,
                                                 vantaapi::AllKrellConfigurations* response) {
    return serve(context, "GetKrellDeviceConfigs", [&] {
        if (!on_premises_supported()) {
            return not_supported("GetKrellDeviceConfigs");
        }
        krellconfigmanager::KRELLDeviceConfigValues values;
        const grpc::Status status = api::guarded("GetKrellDeviceConfigs", [&] {
            values = krellconfigmanager_client_->GetKRELLDeviceConfigValues();
        });
        for (const krellconfigmanager::KRELLDeviceConfigValue& value : values.configurations()) {
            vantaapi::KrellConfigurationInfo* info = response->add_configurations();
            info->set_name(value.name());
            info->set_value(value.value());
        }
        return status;
    });
}

grpc::Status VantaApiImpl::GetKRELLTftpAddress(grpc::ServerContext* context,
                                               const google::protobuf::Empty* /*request*/,
                                               vantaapi::TftpAddress* response) {
    return serve(context, "GetKRELLTftpAddress", [&] {
        if (!on_premises_supported()) {
            return not_supported("GetKRELLTftpAddress");
        }
        return api::answer_or_unavailable(krellconfigmanager_client_->GetKRELLTFTPAddress(),
                                          "GetKRELLTftpAddress krell configuration client FAILED",
                                          [&](const std::vector<std::string>& addresses) {
                                              for (const std::string& address : addresses) {
                                                  response->add_address(address);
                                              }
                                          });
    });
}

grpc::Status VantaApiImpl::GetKRELLDeviceConfigValue(
    grpc::ServerContext* context, const vantaapi::KRELLDeviceConfigRequest* request,
    vantaapi::KRELLDeviceConfigValue* response) {
    return serve(context, "GetKRELLDeviceConfigValue", [&] {
        if (!on_premises_supported()) {
            return not_supported("GetKRELLDeviceConfigValue");
        }
        return api::answer_or_unavailable(
            krellconfigmanager_client_->GetKRELLDeviceConfigValue(request->name(),
                                                                  request->value()),
            "GetKRELLDeviceConfigValue krell configuration client FAILED",
            [&](const krellconfigmanager::KRELLDeviceConfigValue& value) {
                response->set_name(value.name());
                response->set_value(value.value());
            });
    });
}

grpc::Status VantaApiImpl::SetKRELLAutoConfig(grpc::ServerContext* context,
                                              const vantaapi::KRELLAutoConfig* request,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "SetKRELLAutoConfig", [&] {
        return api::answer_or_unavailable(
            krellconfigmanager_client_->SetKRELLAutoConfig(request->enable()),
            "SetKRELLAutoConfig configmanager client FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::GetAvatar(grpc::ServerContext* context,
                                     const vantaapi::AvatarRequest* request,
                                     google::protobuf::Empty* /*response*/) {
    return serve(context, "GetAvatar", [&] {
        return api::guarded("GetAvatar",
                            [&] { avatar_client_->GetAvatar(request->uuid(), request->size()); });
    });
}

// The on-premises service answers an upgrade command with nothing; reaching
// it is the success.
grpc::Status VantaApiImpl::StartOnPremUpgrade(grpc::ServerContext* context,
                                              const google::protobuf::Empty* /*request*/,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "StartOnPremUpgrade", [&] {
        krellconfigmanager_client_->StartOnPremUpgrade();
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::PostponeOnPremUpgrade(
    grpc::ServerContext* context, const vantaapi::PostponeOnPremUpgradeRequest* request,
    vantaapi::RequestStatus* response) {
    return serve(context, "PostponeOnPremUpgrade", [&] {
        krellconfigmanager_client_->PostponeOnPremUpgrade(request->postpone_seconds());
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetRingtoneList(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::RingtoneList* response) {
    return serve(context, "GetRingtoneList", [&] {
        return api::guarded_with_log(
            logger_, "GetRingtoneList", kConfigManagerClient,
            "GetRingtoneList configmanager client FAILED", [&] {
                for (const std::string& name : configmanager_client_->GetRingToneList()) {
                    response->add_names(name);
                }
            });
    });
}

grpc::Status VantaApiImpl::GetRingTone(grpc::ServerContext* context,
                                       const google::protobuf::Empty* /*request*/,
                                       vantaapi::Ringtone* response) {
    return serve(context, "GetRingTone", [&] {
        return api::guarded_with_log(
            logger_, "GetRingTone", kConfigManagerClient, "GetRingTone configmanager client FAILED",
            [&] { response->set_ringer(configmanager_client_->GetRingTone()); });
    });
}

// The answer names the ring tone now in use: the requested one when the
// service took it, none otherwise.
grpc::Status VantaApiImpl::SetRingTone(grpc::ServerContext* context,
                                       const vantaapi::Ringtone* request,
                                       vantaapi::Ringtone* response) {
    return serve(context, "SetRingTone", [&] {
        return api::guarded_with_log(
            logger_, "SetRingTone", kConfigManagerClient, "SetRingTone configmanager client FAILED",
            [&] {
                if (configmanager_client_->SetRingTone(request->ringer())) {
                    response->set_ringer(request->ringer());
                }
            });
    });
}

}  // namespace vanta
