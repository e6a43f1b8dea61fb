#include "failure_rows.h"

namespace vanta::testing {

std::vector<FailureRow> service_failure_rows() {
    return {
        VANTA_FAILURE_ROW(UXWakeUp, OK, ""),
        VANTA_FAILURE_ROW(UXStandby, OK, ""),
        VANTA_FAILURE_ROW(GetWifiSignalLevel, UNIMPLEMENTED, ""),
        VANTA_FAILURE_ROW(GetCalendarEvents, UNAVAILABLE,
                          "GetCalendarEvents calendar client FAILED"),
        VANTA_FAILURE_ROW(DismissCalendarEvent, UNAVAILABLE,
                          "dismiss_calendar_event: [Calendar Service::DismissCalendarEvent: "
                          "UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(DismissCalendarEvents, UNAVAILABLE,
                          "dismiss_calendar_events: [Calendar Service::DismissCalendarEvents: "
                          "UNAVAILABLE - [*"),
        // Accounts: the account manager is not running. The default request
        // names no kind of account.
        VANTA_FAILURE_ROW(ListAccountStates, UNAVAILABLE,
                          "list_account_states: [AccountManager::ListAccountStates: UNAVAILABLE "
                          "- [*"),
        VANTA_FAILURE_ROW(CreateAccount, INVALID_ARGUMENT,
                          "CreateAccount did not recognize the type of request."),
        VANTA_FAILURE_ROW(DeleteAccount, UNAVAILABLE,
                          "delete_account: [AccountManager::DeleteAccount: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(GetAccountDetails, UNAVAILABLE,
                          "get_account_details: [AccountManager::GetAccountDetails: UNAVAILABLE "
                          "- [*"),
        VANTA_FAILURE_ROW(GetAllMeetings, UNAVAILABLE, "GetAllMeetings callproxy FAILED"),
        VANTA_FAILURE_ROW(GetVideoStatistics, UNAVAILABLE, "GetVideoStatistics: [*"),
        // Certificates and the wired 802.1X set-up, branding, cloud status,
        // room control, shares and the phone book: their services are not
        // running.
        VANTA_FAILURE_ROW(
            CertGenerateCSR, UNAVAILABLE,
            "CertGenerateCSR: [CertificateManager::CertGenerateCSR: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            CertRetrieveCSR, UNAVAILABLE,
            "CertRetrieveCSR: [CertificateManager::CertRetrieveCSR: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(CertSaveLocalPublicKey, UNAVAILABLE,
                          "CertSaveLocalPublicKey: [CertificateManager::CertSaveLocalPublicKey: "
                          "UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(CertSaveCACert, UNAVAILABLE,
                          "CertSaveCACert: [CertificateManager::CertSaveCACert: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            CertSaveCustomCACert, UNAVAILABLE,
            "CertSaveCustomCACert: [CertificateManager::CertSaveCustomCACert: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            CertListCertificates, UNAVAILABLE,
            "CertListCertificates: [CertificateManager::CertGetList: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(CertDelete, UNAVAILABLE,
                          "CertDelete: [CertificateManager::CertDelete: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(CertInfo, UNAVAILABLE,
                          "CertInfo: [CertificateManager::CertGetInfo: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            CertRetrieveCert, UNAVAILABLE,
            "CertRetrieveCert: [CertificateManager::CertRetrieveCert: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            Wired8021xConfigure, UNAVAILABLE,
            "Wired8021xConfigure: [Ieee8021xService::SetIeee8021xConfig: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            GetNimboBranding, UNAVAILABLE,
            "GetNimboBranding: [Nimbo Branding Service::GetNimboBranding: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            GetCarouselImage, UNAVAILABLE,
            "GetCarouselImage: [Nimbo Branding Service::GetCarouselImage: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(
            GetSignageState, UNAVAILABLE,
            "GetSignageState: [Nimbo Branding Service::GetSignageState: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(GetCloudConnectivity, UNAVAILABLE,
                          "GetCloudConnectivity: [Nimbo Status Reporter "
                          "Service::CheckCloudConnectivity: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(GetNimboServiceStatus, UNAVAILABLE,
                          "GetNimboServiceStatus: [Nimbo Status Reporter "
                          "Service::GetNimboServiceStatus: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(GetSpaceInfo, UNAVAILABLE,
                          "GetSpaceInfo: [Nimbo Room Service::GetSpaceInfo: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(StartCallShare, UNAVAILABLE,
                          "StartWiredShare: [ShareGovernor::StartWiredShare: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(StopCallShare, UNAVAILABLE,
                          "StopAllShares: [ShareGovernor::StopAllShares: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(StopAllShares, UNAVAILABLE,
                          "StopAllShares: [ShareGovernor::StopAllShares: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(StartWiredShare, UNAVAILABLE,
                          "StartWiredShare: [ShareGovernor::StartWiredShare: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(GetActiveShares, UNAVAILABLE,
                          "GetActiveShares: [ShareGovernor::GetActiveShares: UNAVAILABLE - [*"),
        VANTA_FAILURE_ROW(PhonebookSearch, UNAVAILABLE,
                          "PhonebookSearch: [PhonebookService::Search: UNAVAILABLE - [*"),
        // Plugins whose operations are still to come.
        VANTA_FAILURE_ROW(EnableBluetooth, UNIMPLEMENTED, "BluetoothPlugin::EnableBluetooth"),
        VANTA_FAILURE_ROW(DisableBluetooth, UNIMPLEMENTED, "BluetoothPlugin::DisableBluetooth"),
        VANTA_FAILURE_ROW(GetBluetoothState, UNIMPLEMENTED, "BluetoothPlugin::GetBluetoothState"),
        VANTA_FAILURE_ROW(StartBluetoothInquiry, UNIMPLEMENTED,
                          "BluetoothPlugin::StartBluetoothInquiry"),
        VANTA_FAILURE_ROW(StopBluetoothInquiry, UNIMPLEMENTED,
                          "BluetoothPlugin::StopBluetoothInquiry"),
        VANTA_FAILURE_ROW(GetInquiryResult, UNIMPLEMENTED, "BluetoothPlugin::GetInquiryResult"),
        VANTA_FAILURE_ROW(GetBondedDevices, UNIMPLEMENTED, "BluetoothPlugin::GetBondedDevices"),
        VANTA_FAILURE_ROW(PairBluetooth, UNIMPLEMENTED, "BluetoothPlugin::PairBluetooth"),
        VANTA_FAILURE_ROW(UnPairBluetooth, UNIMPLEMENTED, "BluetoothPlugin::UnPairBluetooth"),
        VANTA_FAILURE_ROW(ConnectBluetooth, UNIMPLEMENTED, "BluetoothPlugin::ConnectBluetooth"),
        VANTA_FAILURE_ROW(DisconnectBluetooth, UNIMPLEMENTED,
                          "BluetoothPlugin::DisconnectBluetooth"),
        VANTA_FAILURE_ROW(GetGuestToken, UNIMPLEMENTED, "PairingPlugin::get_guest_token"),
        VANTA_FAILURE_ROW(GetManualPairPin, UNIMPLEMENTED, "PairingPlugin::get_manual_pair_pin"),
        VANTA_FAILURE_ROW(ListRecords, UNIMPLEMENTED, "CallHistoryPlugin::list_records"),
        VANTA_FAILURE_ROW(StartSelfView, UNIMPLEMENTED, "CameraPlugin::StartSelfView"),
        VANTA_FAILURE_ROW(StopSelfView, UNIMPLEMENTED, "CameraPlugin::StopSelfView"),
        VANTA_FAILURE_ROW(ChangeVideoBackgroundEffect, UNIMPLEMENTED,
                          "CameraPlugin::ChangeVideoBackgroundEffect"),
        VANTA_FAILURE_ROW(GetCameraState, UNIMPLEMENTED, "CameraPlugin::GetCameraState"),
        VANTA_FAILURE_ROW(GetCameraStreamStatistics, UNIMPLEMENTED,
                          "CameraPlugin::GetCameraStreamStatistics"),
        VANTA_FAILURE_ROW(CameraZoom, UNIMPLEMENTED, "CameraPlugin::Zoom"),
        VANTA_FAILURE_ROW(AdjustCameraBrightness, UNIMPLEMENTED,
                          "CameraPlugin::AdjustCameraBrightness"),
        VANTA_FAILURE_ROW(CameraMove, UNIMPLEMENTED, "CameraPlugin::Move"),
        VANTA_FAILURE_ROW(GetCameraSettings, UNIMPLEMENTED, "CameraPlugin::GetCameraSettings"),
    };
}

}  // namespace vanta::testing
