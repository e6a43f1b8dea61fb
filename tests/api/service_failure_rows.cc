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
        // Pairing: the ultrasound service is not running.
        VANTA_FAILURE_ROW(GetGuestToken, UNAVAILABLE,
                          "get_guest_token: [Nimbo Ultrasound Service::GetGuestToken: UNAVAILABLE "
                          "- [*"),
        VANTA_FAILURE_ROW(GetManualPairPin, UNAVAILABLE,
                          "get_manual_pair_pin: [Nimbo Ultrasound Service::GetManualPairPin: "
                          "UNAVAILABLE - [*"),
        // The Bluetooth manager, the camera manager and the call history are
        // never contacted: their in-process substitutes answer alike with or
        // without a backend. Bluetooth is off, every command succeeds and no
        // device is known.
        VANTA_ANSWER_ROW(EnableBluetooth, "success: true"),
        VANTA_ANSWER_ROW(DisableBluetooth, "success: true"),
        VANTA_ANSWER_ROW(GetBluetoothState, ""),
        VANTA_ANSWER_ROW(StartBluetoothInquiry, "success: true"),
        VANTA_ANSWER_ROW(StopBluetoothInquiry, "success: true"),
        VANTA_ANSWER_ROW(GetInquiryResult, ""),
        VANTA_ANSWER_ROW(GetBondedDevices, ""),
        VANTA_ANSWER_ROW(PairBluetooth, "success: true"),
        VANTA_ANSWER_ROW(UnPairBluetooth, "success: true"),
        VANTA_ANSWER_ROW(ConnectBluetooth, "success: true"),
        VANTA_ANSWER_ROW(DisconnectBluetooth, "success: true"),
        // A disconnected camera with an open shutter and no frames; its
        // controls do nothing and its settings are not known.
        VANTA_ANSWER_ROW(StartSelfView, ""),
        VANTA_ANSWER_ROW(StopSelfView, ""),
        VANTA_ANSWER_ROW(ChangeVideoBackgroundEffect, ""),
        VANTA_ANSWER_ROW(GetCameraState, "connection_state: kDisconnected"),
        VANTA_ANSWER_ROW(GetCameraStreamStatistics, ""),
        VANTA_ANSWER_ROW(CameraZoom, ""),
        VANTA_ANSWER_ROW(AdjustCameraBrightness, ""),
        VANTA_ANSWER_ROW(CameraMove, ""),
        VANTA_FAILURE_ROW(GetCameraSettings, UNIMPLEMENTED,
                          "GetCameraSettings: [camera is not implement]"),
        // No call is on record.
        VANTA_ANSWER_ROW(ListRecords, ""),
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
    };
}

}  // namespace vanta::testing
