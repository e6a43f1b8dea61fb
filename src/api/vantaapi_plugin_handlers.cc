// The operations that plugins serve: each handler hands the call to its
// plugin and answers with the plugin's status.

#include "api/vantaapi_impl.h"

namespace vanta {

grpc::Status VantaApiImpl::GetAccountDetails(grpc::ServerContext* context,
                                             const vantaapi::AccountID* request,
                                             vantaapi::AccountDetails* response) {
    return serve(context, "GetAccountDetails", [&] {
        return account_manager_plugin_.get_account_details(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetCloudConnectivity(grpc::ServerContext* context,
                                                const google::protobuf::Empty* request,
                                                vantaapi::CloudConnectivityResponse* response) {
    return serve(context, "GetCloudConnectivity", [&] {
        return nimbo_status_reporter_plugin_.get_cloud_connectivity(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetAllMeetings(grpc::ServerContext* context,
                                          const google::protobuf::Empty* request,
                                          vantaapi::MeetingList* response) {
    return serve(context, "GetAllMeetings",
                 [&] { return meeting_plugin_.GetAllMeetings(context, request, response); });
}

grpc::Status VantaApiImpl::GetCalendarEvents(grpc::ServerContext* context,
                                             const vantaapi::CalendarEventsRequest* request,
                                             vantaapi::CalendarEventList* response) {
    return serve(context, "GetCalendarEvents",
                 [&] { return calendar_plugin_.get_calendar_events(context, request, response); });
}

grpc::Status VantaApiImpl::DismissCalendarEvent(grpc::ServerContext* context,
                                                const vantaapi::CalendarEventRequest* request,
                                                google::protobuf::Empty* response) {
    return serve(context, "DismissCalendarEvent", [&] {
        return calendar_plugin_.dismiss_calendar_event(context, request, response);
    });
}

grpc::Status VantaApiImpl::DismissCalendarEvents(grpc::ServerContext* context,
                                                 const google::protobuf::Empty* request,
                                                 google::protobuf::Empty* response) {
    return serve(context, "DismissCalendarEvents", [&] {
        return calendar_plugin_.dismiss_calendar_events(context, request, response);
    });
}

grpc::Status VantaApiImpl::StartCallShare(grpc::ServerContext* context,
                                          const google::protobuf::Empty* request,
                                          google::protobuf::Empty* response) {
    return serve(context, "StartCallShare", [&] {
        return share_governor_plugin_.StartWiredShare(context, request, response);
    });
}

grpc::Status VantaApiImpl::StopCallShare(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         google::protobuf::Empty* response) {
    return serve(context, "StopCallShare",
                 [&] { return share_governor_plugin_.StopAllShares(context, request, response); });
}

grpc::Status VantaApiImpl::StopAllShares(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         google::protobuf::Empty* response) {
    return serve(context, "StopAllShares",
                 [&] { return share_governor_plugin_.StopAllShares(context, request, response); });
}

grpc::Status VantaApiImpl::StartWiredShare(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           google::protobuf::Empty* response) {
    return serve(context, "StartWiredShare", [&] {
        return share_governor_plugin_.StartWiredShare(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetVideoStatistics(grpc::ServerContext* context,
                                              const vantaapi::MeetingInfo* request,
                                              vantaapi::VideoStatistics* response) {
    return serve(context, "GetVideoStatistics",
                 [&] { return meeting_plugin_.GetVideoStatistics(context, request, response); });
}

grpc::Status VantaApiImpl::GetActiveShares(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           vantaapi::ActiveShares* response) {
    return serve(context, "GetActiveShares", [&] {
        return share_governor_plugin_.GetActiveShares(context, request, response);
    });
}

grpc::Status VantaApiImpl::EnableBluetooth(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "EnableBluetooth",
                 [&] { return bluetooth_plugin_.EnableBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::DisableBluetooth(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "DisableBluetooth",
                 [&] { return bluetooth_plugin_.DisableBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::GetBluetoothState(grpc::ServerContext* context,
                                             const google::protobuf::Empty* request,
                                             vantaapi::BluetoothState* response) {
    return serve(context, "GetBluetoothState",
                 [&] { return bluetooth_plugin_.GetBluetoothState(context, request, response); });
}

grpc::Status VantaApiImpl::StartBluetoothInquiry(grpc::ServerContext* context,
                                                 const google::protobuf::Empty* request,
                                                 vantaapi::RequestStatus* response) {
    return serve(context, "StartBluetoothInquiry", [&] {
        return bluetooth_plugin_.StartBluetoothInquiry(context, request, response);
    });
}

grpc::Status VantaApiImpl::StopBluetoothInquiry(grpc::ServerContext* context,
                                                const google::protobuf::Empty* request,
                                                vantaapi::RequestStatus* response) {
    return serve(context, "StopBluetoothInquiry", [&] {
        return bluetooth_plugin_.StopBluetoothInquiry(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetInquiryResult(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::RemoteBluetoothDeviceList* response) {
    return serve(context, "GetInquiryResult",
                 [&] { return bluetooth_plugin_.GetInquiryResult(context, request, response); });
}

grpc::Status VantaApiImpl::GetBondedDevices(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::RemoteBluetoothDeviceList* response) {
    return serve(context, "GetBondedDevices",
                 [&] { return bluetooth_plugin_.GetBondedDevices(context, request, response); });
}

grpc::Status VantaApiImpl::PairBluetooth(grpc::ServerContext* context,
                                         const vantaapi::BluetoothAddress* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "PairBluetooth",
                 [&] { return bluetooth_plugin_.PairBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::UnPairBluetooth(grpc::ServerContext* context,
                                           const vantaapi::BluetoothAddress* request,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "UnPairBluetooth",
                 [&] { return bluetooth_plugin_.UnPairBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::ConnectBluetooth(grpc::ServerContext* context,
                                            const vantaapi::BluetoothAddress* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "ConnectBluetooth",
                 [&] { return bluetooth_plugin_.ConnectBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::DisconnectBluetooth(grpc::ServerContext* context,
                                               const vantaapi::BluetoothAddress* request,
                                               vantaapi::RequestStatus* response) {
    return serve(context, "DisconnectBluetooth",
                 [&] { return bluetooth_plugin_.DisconnectBluetooth(context, request, response); });
}

grpc::Status VantaApiImpl::GetSpaceInfo(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        vantaapi::SpaceInfo* response) {
    return serve(context, "GetSpaceInfo", [&] {
        return nimbo_room_control_plugin_.get_space_info(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetGuestToken(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         vantaapi::TokenResponse* response) {
    return serve(context, "GetGuestToken",
                 [&] { return pairing_plugin_.get_guest_token(context, request, response); });
}

grpc::Status VantaApiImpl::GetManualPairPin(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::ManualPairChallenge* response) {
    return serve(context, "GetManualPairPin",
                 [&] { return pairing_plugin_.get_manual_pair_pin(context, request, response); });
}

grpc::Status VantaApiImpl::GetNimboServiceStatus(grpc::ServerContext* context,
                                                 const vantaapi::NimboServiceRequest* request,
                                                 vantaapi::NimboServiceStatus* response) {
    return serve(context, "GetNimboServiceStatus", [&] {
        return nimbo_status_reporter_plugin_.get_nimbo_service_status(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertGenerateCSR(grpc::ServerContext* context,
                                           const vantaapi::CSRRequest* request,
                                           vantaapi::CSRResp* response) {
    return serve(context, "CertGenerateCSR", [&] {
        return certificate_manager_plugin_.generate_csr(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertRetrieveCSR(grpc::ServerContext* context,
                                           const vantaapi::CSRRetrieveReq* request,
                                           vantaapi::CSRRetrieveResp* response) {
    return serve(context, "CertRetrieveCSR", [&] {
        return certificate_manager_plugin_.retrieve_csr(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertSaveLocalPublicKey(grpc::ServerContext* context,
                                                  const vantaapi::LocalPublicKeySave* request,
                                                  vantaapi::CertSaveResponse* response) {
    return serve(context, "CertSaveLocalPublicKey", [&] {
        return certificate_manager_plugin_.save_local_public_key(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertSaveCACert(grpc::ServerContext* context,
                                          const vantaapi::CACertSave* request,
                                          vantaapi::CACertSaveResponse* response) {
    return serve(context, "CertSaveCACert", [&] {
        return certificate_manager_plugin_.save_ca_cert(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertSaveCustomCACert(grpc::ServerContext* context,
                                                const vantaapi::CustomCACertSave* request,
                                                vantaapi::CACertSaveResponse* response) {
    return serve(context, "CertSaveCustomCACert", [&] {
        return certificate_manager_plugin_.save_custom_ca_cert(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertListCertificates(grpc::ServerContext* context,
                                                const vantaapi::CertListQuery* request,
                                                vantaapi::CertListResp* response) {
    return serve(context, "CertListCertificates", [&] {
        return certificate_manager_plugin_.list_certificates(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertDelete(grpc::ServerContext* context,
                                      const vantaapi::CertDeleteReq* request,
                                      vantaapi::CertDeleteResp* response) {
    return serve(context, "CertDelete", [&] {
        return certificate_manager_plugin_.delete_certificate(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertInfo(grpc::ServerContext* context,
                                    const vantaapi::CertInfoQuery* request,
                                    vantaapi::CertInfoResp* response) {
    return serve(context, "CertInfo", [&] {
        return certificate_manager_plugin_.certificate_info(context, request, response);
    });
}

grpc::Status VantaApiImpl::CertRetrieveCert(grpc::ServerContext* context,
                                            const vantaapi::CertRetrieveReq* request,
                                            vantaapi::CertRetrieveResp* response) {
    return serve(context, "CertRetrieveCert", [&] {
        return certificate_manager_plugin_.retrieve_certificate(context, request, response);
    });
}

grpc::Status VantaApiImpl::Wired8021xConfigure(grpc::ServerContext* context,
                                               const vantaapi::Wired8021xConfigRequest* request,
                                               vantaapi::Wired8021xResponse* response) {
    return serve(context, "Wired8021xConfigure", [&] {
        return certificate_manager_plugin_.Wired8021xConfigure(context, request, response);
    });
}

grpc::Status VantaApiImpl::ListAccountStates(grpc::ServerContext* context,
                                             const google::protobuf::Empty* request,
                                             vantaapi::AccountStateList* response) {
    return serve(context, "ListAccountStates", [&] {
        return account_manager_plugin_.list_account_states(context, request, response);
    });
}

grpc::Status VantaApiImpl::CreateAccount(grpc::ServerContext* context,
                                         const vantaapi::ActivationRequest* request,
                                         vantaapi::ActivationResponse* response) {
    return serve(context, "CreateAccount", [&] {
        return account_manager_plugin_.create_account(context, request, response);
    });
}

grpc::Status VantaApiImpl::DeleteAccount(grpc::ServerContext* context,
                                         const vantaapi::AccountID* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "DeleteAccount", [&] {
        return account_manager_plugin_.delete_account(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetNimboBranding(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::BrandingList* response) {
    return serve(context, "GetNimboBranding", [&] {
        return nimbo_branding_plugin_.get_nimbo_branding(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetCarouselImage(grpc::ServerContext* context,
                                            const google::protobuf::Empty* request,
                                            vantaapi::CarouselImage* response) {
    return serve(context, "GetCarouselImage", [&] {
        return nimbo_branding_plugin_.get_carousel_image(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetSignageState(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           vantaapi::SignageState* response) {
    return serve(context, "GetSignageState", [&] {
        return nimbo_branding_plugin_.get_signage_state(context, request, response);
    });
}

grpc::Status VantaApiImpl::ListRecords(grpc::ServerContext* context,
                                       const vantaapi::ListRecordsRequest* request,
                                       vantaapi::ListRecordsResponse* response) {
    return serve(context, "ListRecords",
                 [&] { return call_history_plugin_.list_records(context, request, response); });
}

grpc::Status VantaApiImpl::PhonebookSearch(grpc::ServerContext* context,
                                           const vantaapi::PhonebookSearchRequest* request,
                                           vantaapi::PhonebookSearchResponse* response) {
    return serve(context, "PhonebookSearch",
                 [&] { return phonebook_plugin_.search(context, request, response); });
}

grpc::Status VantaApiImpl::StartSelfView(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         google::protobuf::Empty* response) {
    return serve(context, "StartSelfView",
                 [&] { return camera_plugin_.StartSelfView(context, request, response); });
}

grpc::Status VantaApiImpl::StopSelfView(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        google::protobuf::Empty* response) {
    return serve(context, "StopSelfView",
                 [&] { return camera_plugin_.StopSelfView(context, request, response); });
}

grpc::Status VantaApiImpl::ChangeVideoBackgroundEffect(
    grpc::ServerContext* context, const vantaapi::ChangeVideoBackgroundEffectRequest* request,
    google::protobuf::Empty* response) {
    return serve(context, "ChangeVideoBackgroundEffect", [&] {
        return camera_plugin_.ChangeVideoBackgroundEffect(context, request, response);
    });
}

grpc::Status VantaApiImpl::GetCameraState(grpc::ServerContext* context,
                                          const google::protobuf::Empty* request,
                                          vantaapi::CameraState* response) {
    return serve(context, "GetCameraState",
                 [&] { return camera_plugin_.GetCameraState(context, request, response); });
}

grpc::Status VantaApiImpl::GetCameraStreamStatistics(grpc::ServerContext* context,
                                                     const google::protobuf::Empty* request,
                                                     vantaapi::CameraStreamStatistics* response) {
    return serve(context, "GetCameraStreamStatistics", [&] {
        return camera_plugin_.GetCameraStreamStatistics(context, request, response);
    });
}

grpc::Status VantaApiImpl::CameraZoom(grpc::ServerContext* context,
                                      const vantaapi::CameraFocalLength* request,
                                      google::protobuf::Empty* response) {
    return serve(context, "CameraZoom",
                 [&] { return camera_plugin_.Zoom(context, request, response); });
}

grpc::Status VantaApiImpl::AdjustCameraBrightness(grpc::ServerContext* context,
                                                  const vantaapi::CameraBrightness* request,
                                                  vantaapi::RequestStatus* response) {
    return serve(context, "AdjustCameraBrightness",
                 [&] { return camera_plugin_.AdjustCameraBrightness(context, request, response); });
}

grpc::Status VantaApiImpl::CameraMove(grpc::ServerContext* context,
                                      const vantaapi::CameraMoveRequest* request,
                                      vantaapi::RequestStatus* response) {
    return serve(context, "CameraMove",
                 [&] { return camera_plugin_.Move(context, request, response); });
}

grpc::Status VantaApiImpl::GetCameraSettings(grpc::ServerContext* context,
                                             const google::protobuf::Empty* request,
                                             vantaapi::CameraSettings* response) {
    return serve(context, "GetCameraSettings",
                 [&] { return camera_plugin_.GetCameraSettings(context, request, response); });
}

}  // namespace vanta
