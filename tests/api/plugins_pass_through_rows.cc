#include "pass_through_rows.h"

namespace vanta::testing {

std::vector<PassThroughRow> plugins_pass_through_rows() {
    return {
        // Certificates: the manager's kinds and usages keep their names; its
        // fields named differently are paired by meaning.
        row("CertGenerateCSR",
            "req_distinguished_name: 'CN=room' v3_req: 'ext' key_size: 2048 cert_usages: "
            "CU_SUPPLICANT_8021X cert_usages: CU_DIGITAL_SIGNAGE",
            "certificatemanager.CertGenerateCSR",
            "csr_created: true csr_fail_enum: CA_TIMEOUT cert_handle: 'csr-1'",
            "req_distinguished_name: 'CN=room' v3_req: 'ext' key_size: 2048 usages: "
            "CU_SUPPLICANT_8021X usages: CU_DIGITAL_SIGNAGE",
            "csr_created: true cert_handle: 'csr-1'"),
        row("CertRetrieveCSR", "cert_handle: 'csr-1'", "certificatemanager.CertRetrieveCSR",
            "csr_available: true csr_cn_string: 'room' file_xfer { filename: 'r.csr' filelength: 3 "
            "filecontent: 'CSR' }",
            "cert_handle: 'csr-1'", "csr_available: true csr_cn: 'room' csr_filecontent: 'CSR'"),
        row("CertInfo", "cert_handle: 'ca-1'", "certificatemanager.CertGetInfo",
            "success: true info { cert_handle: 'ca-1' name: 'Root' type: CT_CA_ROOT usages: "
            "CU_SUPPLICANT_EAPTLS public_path: '/c/ca.pem' private_path: '/c/ca.key' "
            "cert_pem_data: "
            "'PEM' }",
            "cert_handle: 'ca-1'",
            "success: true info { cert_handle: 'ca-1' name: 'Root' cert_type: CT_CA_ROOT "
            "cert_usages: "
            "CU_SUPPLICANT_EAPTLS public_path: '/c/ca.pem' private_path: '/c/ca.key' "
            "cert_pem_data: "
            "'PEM' }"),
        row("CertListCertificates", "cert_type: CT_SIGNING_REQUEST cert_usage: CU_DIGITAL_SIGNAGE",
            "certificatemanager.CertGetList", "cert_handles: 'a' cert_handles: 'b'",
            "cert_type: CT_UNKNOWN cert_usage: CU_DIGITAL_SIGNAGE",
            "cert_handles: 'a' cert_handles: 'b'"),
        row("CertSaveCACert",
            "cert_usages: CU_SUPPLICANT_8021X file_xfer { filename: 'ca.pem' filelength: 2 "
            "filecontent: 'ca' }",
            "certificatemanager.CertSaveCACert",
            "save_fail_enum: INVALID_CA_CERT save_fail_reason: 'expired'",
            "usages: CU_SUPPLICANT_8021X file_xfer { filename: 'ca.pem' filelength: 2 filecontent: "
            "'ca' }",
            "error: INVALID_CA_CERT"),
        row("CertSaveCustomCACert", "cert_usage: CU_DIGITAL_SIGNAGE",
            "certificatemanager.CertSaveCustomCACert", "success: true", "usage: CU_DIGITAL_SIGNAGE",
            "success: true error: NONE"),
        // The wired 802.1X set-up names its certificates by handle.
        row("Wired8021xConfigure",
            "ca_cert_handle: 'ca-1' client_cert_handle: 'cl-1' identity: 'room-7'",
            "ieee8021x.SetIeee8021xConfig", "failure_reason: 'no such certificate'",
            "ca_cert_handle: 'ca-1' client_cert_handle: 'cl-1' identity: 'room-7'",
            "failure_msg: 'no such certificate'"),
        // Branding.
        row("GetNimboBranding", "", "nimbobranding.GetNimboBranding",
            "brands { type: LOGO file: '/b/logo.png' } brands { type: HALFWAKE_BACKGROUND file: "
            "'/b/bg.png' }",
            "",
            "brands { type: LOGO file: '/b/logo.png' } brands { type: HALFWAKE_BACKGROUND file: "
            "'/b/bg.png' }"),
        row("GetCarouselImage", "", "nimbobranding.GetCarouselImage", "file: '/b/c.png'", "",
            "file: '/b/c.png'"),
        row("GetSignageState", "", "nimbobranding.GetSignageState", "state: AVAILABLE", "",
            "state: AVAILABLE"),
        // Cloud status: the reporter numbers its services one higher than the
        // API; the answer names the service asked for.
        row("GetNimboServiceStatus", "service_type: NOTIFICATIONS",
            "nimbostatusreporter.GetNimboServiceStatus",
            "service_type: UNKNOWN url: 'https://n' status: 'ok' alias: 'n1' "
            "nimbo_notifications_service_status { remoteaddress: 'wss://n' keepalive_status: 'up' "
            "ha_entries { url: 'wss://ha' priority: 2 } }",
            "service_type: NOTIFICATIONS",
            "service_type: NOTIFICATIONS url: 'https://n' status: 'ok' alias: 'n1' "
            "nimbo_notifications_service_status { activeurl: 'wss://n' keepalive_status: 'up' "
            "ha_entries { url: 'wss://ha' priority: 2 } }"),
        row("GetCloudConnectivity", "", "nimbostatusreporter.CheckCloudConnectivity",
            "connectivity_state: CLOUD_CONNECTION_DOWN", "",
            "connectivity_state: CLOUD_CONNECTION_DOWN"),
        // Room control: the service's roles under the API's names.
        row("GetSpaceInfo", "", "nimboroomcontrol.GetSpaceInfo",
            "number_of_devices_in_space: 2 self { device_url: 'a' roles: MAIN_AUDIO_RENDER } "
            "companions { device_url: 'b' roles: WIRELESS_SHARE_RENDER roles: CALL_CONTROL_MASTER "
            "}",
            "",
            "number_of_devices_in_space: 2 self { roles: MAIN_AUDIO_RENDERING device_url: 'a' } "
            "companions { roles: PRESENTATION_RENDERING roles: CALL_CONTROL_MASTER device_url: 'b' "
            "}"),
        // Shares.
        row("GetActiveShares", "", "sharegovernor.GetActiveShares",
            "shares { id: 3 type: IN_CALL_WIRED_SHARE parent_session: NIMBO_CALL "
            "parent_session_id: "
            "9 }",
            "",
            "shares { id: 3 type: IN_CALL_WIRED_SHARE parent_session: NIMBO_CALL "
            "parent_session_id: 9 }"),
        row("StartCallShare", "", "sharegovernor.StartWiredShare", "", "", ""),
        row("StopCallShare", "", "sharegovernor.StopAllShares", "", "", ""),
        // Phone book.
        row("PhonebookSearch",
            "query: 'ali' offset: 10 max_results: 5 directory: CORPORATE filter: PEOPLE",
            "phonebook.Search",
            "results { uuid: 'u1' display_name: 'Alice' email: 'a@x' sip_uri: 'sip:a@x' "
            "avatar_uri: "
            "'av' favorite: true type: DEVICE phone_numbers { type: MOBILE value: '123' } } "
            "offset: "
            "10 total_matches: 11 status: SUCCESS",
            "query: 'ali' offset: 10 max_results: 5 directory: CORPORATE filter: PEOPLE",
            "results { uuid: 'u1' display_name: 'Alice' email: 'a@x' sip_uri: 'sip:a@x' "
            "avatar_uri: "
            "'av' favorite: true type: DEVICE phone_numbers { type: MOBILE value: '123' } } "
            "offset: "
            "10 total_matches: 11 status: SUCCESS"),
        // Accounts: the request's kind is the activation's; a status the API
        // does not know is left out.
        row("CreateAccount", "nimbo_request { activation_code: 'C1' }",
            "accountmanager.CreateAccount",
            "account_id { id: 'acc-7' } status: ALREADY_IN_PROGRESS",
            "nimbo_activation { activation_code: 'C1' }",
            "status: ACTIVATION_ALREADY_IN_PROGRESS account_id { id: 'acc-7' }"),
        row("CreateAccount",
            "krell_request { tftp_ip_address: '10.0.0.2' tftp_ip_address: '10.0.0.1' }",
            "accountmanager.CreateAccount", "account_id { id: 'acc-8' } status: 5",
            "krell_activation { tftp_ip_address: '10.0.0.2' tftp_ip_address: '10.0.0.1' }",
            "account_id { id: 'acc-8' }"),
        row("CreateAccount", "orva_request { username: 'u' password: 'p' proxy: 'proxy:8080' }",
            "accountmanager.CreateAccount", "",
            "orva_activation { username: 'u' password: 'p' proxy: 'proxy:8080' }", "account_id {}"),
        // An empty list still says which kind of account is meant.
        row("CreateAccount", "krell_request {}", "accountmanager.CreateAccount", "",
            "krell_activation {}", "account_id {}"),
        row("GetAccountDetails", "id: 'a1'", "accountmanager.GetAccountDetails",
            "krell_account_details { server: 'tftp.example' }", "id: 'a1'",
            "krell_account_details { server: 'tftp.example' }"),
        row("GetAccountDetails", "id: 'a2'", "accountmanager.GetAccountDetails",
            "nimbo_account_details {}", "id: 'a2'", "krell_account_details {}"),
        row("DeleteAccount", "id: 'a3'", "accountmanager.DeleteAccount", "", "id: 'a3'",
            "success: true"),
        // Calendar: the API's interval is not the service's business.
        row("GetCalendarEvents", "interval: 60", "calendar.GetCalendarEvents",
            "items { id: 'b-1' } owner_name: 'Room 4'", "",
            "items { id: 'b-1' } owner_name: 'Room 4'"),
        row("DismissCalendarEvent", "id: 'b-2'", "calendar.DismissCalendarEvent", "", "id: 'b-2'",
            ""),
        row("DismissCalendarEvents", "", "calendar.DismissCalendarEvents", "", "", ""),
    };
}

}  // namespace vanta::testing
