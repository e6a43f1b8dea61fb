#include "support/bus_translation_table.h"

#include <cstdint>
#include <limits>

#include "calling.pb.h"
#include "nimboroomcontrol.pb.h"

namespace vanta::testing {

pubsub::PubSubMsg bus_message(const Row& row) {
    pubsub::PubSubMsg message;
    message.set_topic(row.topic);
    message.set_event(row.event);
    message.set_data(row.data);
    message.mutable_attributes()->insert(row.attributes.begin(), row.attributes.end());
    if (row.message_data) {
        *message.mutable_message_data() = *row.message_data;
    }
    return message;
}

std::vector<Row> translation_table() {
    // The bus's event number is any 32-bit value.
    constexpr int kLowestEvent = std::numeric_limits<std::int32_t>::min();
    constexpr int kHighestEvent = std::numeric_limits<std::int32_t>::max();
    const Attributes kNetwork = {
        {"INTERFACE", "ETHERNET"},
        {"ERROR_CODE", "NONE"},
        {"SUBNET_MASK", "255.255.255.0"},
        {"DEFAULT_GATEWAY", "192.168.1.1"},
        {"SSID", "office"},
        {"APMODE", "ENABLED"},
        {"NETWORK_DNS_DOMAIN", "example.org"},
        {"NETWORK_DNS_PRIMARY_SERVER", "192.168.1.2"},
        {"NETWORK_DNS_SECONDARY_SERVER", "192.168.1.3"},
        {"NETWORK_DNS_TERTIARY_SERVER", "192.168.1.4"},
        {"STATIC", "1"},
    };
    const auto share = from_text<vanta::calling::ShareAvailable>(R"(
        sharing_participant {
            uuid: "p-1" name: "Ada" status: endpointOnHold type: participantTypeRoom
            associated_device_uuid: "d-1" csis: 7 mute_status: muteStatusMuted moderator: true
        }
        is_local_share: true)");
    const auto odd_share = from_text<vanta::calling::ShareAvailable>(
        "sharing_participant { uuid: \"p-2\" status: 40 type: 9 }");
    const auto space = from_text<vanta::nimboroomcontrol::SpaceDeviceInfo>(R"(
        number_of_devices_in_space: 3
        self { device_url: "sip:self" roles: CALL_CONTROL_MASTER roles: PLAY_ULTRASOUND }
        companions { device_url: "sip:a" roles: MAIN_AUDIO_RENDER roles: MAIN_VIDEO_RENDER }
        companions {
            device_url: "sip:b"
            roles: WIRELESS_SHARE_RENDER roles: BINDINGS_CLEANUP_AFTER_CALL roles: UNKNOWN
        })");

    return {
        // Upgrade manager.
        on("UpgradeEvent", 0).silently(),
        on("UpgradeEvent", 1).publishes("new_upgrade_state { state: IN_PROGRESS }").silently(),
        on("UpgradeEvent", 2).publishes("new_upgrade_state { state: IDLE }"),
        on("UpgradeEvent", 3).publishes("new_upgrade_state { state: REBOOTING }"),
        on("UpgradeEvent", 4).silently(),
        on("UpgradeEvent", 5).publishes("new_upgrade_state { state: IN_DOWNLOADING }"),
        on("UpgradeEvent", 6).publishes("new_upgrade_state { state: IDLE }"),
        on("UpgradeEvent", 7).publishes("new_upgrade_state { state: IDLE }"),
        on("UpgradeEvent", 8).publishes("new_upgrade_state { state: NEW_VERSION_AVAILABLE }"),
        on("UpgradeEvent", 9).publishes("new_upgrade_state { state: POSTPONED }"),
        on("UpgradeEvent", 10).publishes("new_upgrade_state { state: CRITICAL_VERSION }"),
        on("UpgradeEvent", 11).silently(),
        on("UpgradeEvent", -1).silently(),
        on("UpgradeEvent", kLowestEvent).silently(),

        // Meeting list: a notice without meetings.
        on("MeetingListEvent", 0).publishes("new_meeting_list {}").silently(),
        on("MeetingListEvent", 1).silently(),

        // Wi-Fi: lines of the plugin's own logger.
        on("WifiConnectionEvent", 0)
            .with_data("ok")
            .publishes(R"(new_wifi_status { status: WIFI_CONNECTED reason: "ok" })")
            .logging({"WifiPlugin I: vanta::WifiConnectionEvent::CONNECTION_UP"}),
        on("WifiConnectionEvent", 1)
            .with_data("cable")
            .publishes(R"(new_wifi_status { status: WIFI_DISCONNECTED reason: "cable" })"),
        on("WifiConnectionEvent", 2)
            .publishes("new_wifi_status { status: WIFI_AUTHENTICATION_FAILED }")
            .logging({"WifiPlugin I: vanta::WifiConnectionEvent::CONNECTION_FAILED"}),
        on("WifiConnectionEvent", 3).silently(),
        on("WifiSignalLevelEvent", 0)
            .with_data("SIGNAL_LEVEL_THREE")
            .publishes("new_signal_level { signal_level: SIGNAL_LEVEL_THREE }")
            .logging({"WifiPlugin I: vanta::WifiSignalLevelEvent::SIGNAL_LEVEL"}),
        on("WifiSignalLevelEvent", 0)
            .with_data("LEVEL_FOUR or LEVEL_TWO")
            .publishes("new_signal_level { signal_level: SIGNAL_LEVEL_TWO }"),
        on("WifiSignalLevelEvent", 0)
            .with_data("none")
            .publishes("new_signal_level { signal_level: SIGNAL_NO_NETWORK }"),
        on("WifiSignalLevelEvent", 1).silently(),
        on("WifiEnableStateEvent", 0)
            .with_data("True")
            .publishes("wifi_enable_state_event { enabled: true }")
            .logging({"WifiPlugin I: vanta::WifiEnableStateEvent::ENABLE_STATE"}),
        on("WifiEnableStateEvent", 0)
            .with_data("true")
            .publishes("wifi_enable_state_event { enabled: false }"),
        on("WifiConfigChangeEvent", 0)
            .publishes("wifi_config_change_event {}")
            .logging({"WifiPlugin I: vanta::WifiConfigChangeEvent::WIFI_CONFIG_CHANGED"}),
        on("WifiConfigChangeEvent", 2).silently(),

        // Pairing: the user's name and id reach the log only concealed.
        on("NimboUltrasoundEvent", 1)
            .with({{"username", "Ada Lovelace"}, {"uuid", "u-17"}})
            .publishes(
                R"(new_userdetection_state { state: DEVICE_PAIRING data: "Ada Lovelace" uuid: "u-17" })")
            .logging(
                {info("VantaApi PairingPlugin Paired EVENT - Name:<redacted>, UUID:[<redacted>]")}),
        on("NimboUltrasoundEvent", 1)
            .publishes("new_userdetection_state { state: DEVICE_PAIRING }"),
        on("NimboUltrasoundEvent", 2)
            .with({{"username", "Ada Lovelace"}, {"uuid", "u-17"}})
            .publishes(
                R"(new_userdetection_state { state: DEVICE_UNPAIRING data: "Ada Lovelace" uuid: "u-17" })")
            .logging({info(
                "VantaApi PairingPlugin Unpairing EVENT - Name:<redacted>, UUID:[<redacted>]")}),
        on("NimboUltrasoundEvent", 3)
            .with({{"username", "Ada Lovelace"}})
            .publishes("new_userdetection_state { state: ALL_DEVICES_UNPAIR }")
            .logging({info("VantaApi PairingPlugin All Unpaired EVENT")}),
        on("NimboUltrasoundEvent", 4)
            .publishes("new_userdetection_state { state: NEW_TOKEN_PLAYING }")
            .silently(),
        on("NimboUltrasoundEvent", 0).silently(),
        on("NimboUltrasoundEvent", 5).silently(),
        on("GuestTokenEvent", 1)
            .publishes("pairing_token_event { what: GUEST_TOKEN_CHANGED }")
            .logging({info("VantaApi PairingPlugin guest token changed event")}),
        on("GuestTokenEvent", 2).silently(),
        on("ManualPairEvent", 1)
            .publishes("pairing_token_event { what: MANUAL_PAIR_PIN_CHANGED }")
            .logging({info("VantaApi PairingPlugin manual pairing pin changed event")}),
        on("ManualPairEvent", 0).silently(),

        // User detection.
        on("UserDetectionEvent", 0)
            .publishes("new_userdetection_state { state: ROOM_IN_USE }")
            .logging({info("VantaApi Plugin UserDetection ROOM IN USE EVENT")}),
        on("UserDetectionEvent", 1)
            .publishes("new_userdetection_state { state: ROOM_AVAILABLE }")
            .logging({info("VantaApi Plugin UserDetection ROOM AVAILABLE")}),
        on("UserDetectionEvent", 2)
            .with_data("beacon lost")
            .logging({error("VantaApi Plugin UserDetection UNKNOWN EVENT data: [beacon lost]")}),

        // Image upgrade: progress is the data read as a number.
        on("ImageUpgradeEvent", 1)
            .with_data("57")
            .with({{"stage", "flashing"}})
            .publishes(R"(image_upgrade_progress { progress: 57 stage: "flashing" })"),
        on("ImageUpgradeEvent", 1)
            .with_data(" \t-3 percent")
            .publishes("image_upgrade_progress { progress: -3 }"),
        on("ImageUpgradeEvent", 1)
            .with_data("+12")
            .publishes("image_upgrade_progress { progress: 12 }"),
        on("ImageUpgradeEvent", 1)
            .with_data("2147483647")
            .publishes("image_upgrade_progress { progress: 2147483647 }"),
        on("ImageUpgradeEvent", 1).with_data("half").raising(Raises::invalid_argument),
        on("ImageUpgradeEvent", 1).with_data("").raising(Raises::invalid_argument),
        on("ImageUpgradeEvent", 1).with_data("2147483648").raising(Raises::out_of_range),
        on("ImageUpgradeEvent", 1).with_data("-2147483649").raising(Raises::out_of_range),
        on("ImageUpgradeEvent", 2)
            .with({{"failure_message", "signature mismatch"}})
            .publishes(R"(image_upgrade_failure { failure_message: "signature mismatch" })"),
        on("ImageUpgradeEvent", 2).publishes("image_upgrade_failure {}"),
        on("ImageUpgradeEvent", 0),
        on("ImageUpgradeEvent", 3),

        // Image download: a bad number is "Wrong data()".
        on("ImageDownloadEvent", 1)
            .with_data("42%")
            .publishes("image_download_progress { progress: 42 }"),
        on("ImageDownloadEvent", 1)
            .with_data("done")
            .raising(Raises::runtime_error, "Wrong data()"),
        on("ImageDownloadEvent", 1)
            .with_data("99999999999")
            .raising(Raises::runtime_error, "Wrong data()"),
        on("ImageDownloadEvent", 2)
            .with({{"failure_message", "no space left"}})
            .publishes(R"(image_download_failure { failure_message: "no space left" })"),
        on("ImageDownloadEvent", 3),

        // Upgrade information.
        on("UpgradeInfoEvent", 1).publishes("upgrade_info_event {}"),
        on("UpgradeInfoEvent", 2)
            .with({{"message", "Postponed until 02:00"}})
            .publishes(R"(postpone_message_event { postpone_message: "Postponed until 02:00" })"),
        on("UpgradeInfoEvent", 3)
            .with_data("True")
            .publishes("upgrade_trigger_available { available_to_trigger: true }"),
        on("UpgradeInfoEvent", 3)
            .with_data("true")
            .publishes("upgrade_trigger_available { available_to_trigger: false }"),
        on("UpgradeInfoEvent", 3)
            .with_data("True ")
            .publishes("upgrade_trigger_available { available_to_trigger: false }"),
        on("UpgradeInfoEvent", 3)
            .publishes("upgrade_trigger_available { available_to_trigger: false }"),
        on("UpgradeInfoEvent", 0),
        on("UpgradeInfoEvent", 4),

        // On-premises upgrades.
        on("OnPremUpgradeEvent", 1).publishes("on_prem_upgrade_alert {}"),
        on("OnPremUpgradeEvent", 2).publishes("on_prem_upgrade_error {}"),
        on("OnPremUpgradeEvent", 3).publishes("on_prem_upgrade_postponed {}"),
        on("OnPremUpgradeEvent", 0)
            .logging({info("OnPremUpgradePlugin: unknown on-prem upgrade event")}),
        on("OnPremUpgradeEvent", 4)
            .logging({info("OnPremUpgradePlugin: unknown on-prem upgrade event")}),

        // Crashed processes.
        on("ProcessEvent", 0)
            .with_data("mediad")
            .with({{"pid", "1234"}})
            .publishes(R"(crash_report { process_name: "mediad" pid: "1234" })")
            .logging({info("PROCESS_CRASHED event")}),
        on("ProcessEvent", 0)
            .with_data("ringer")
            .publishes(R"(crash_report { process_name: "ringer" })"),
        on("ProcessEvent", 1).logging({warning("Unknown event")}),

        // Crashed device drivers (the metric has a test of its own).
        on("DeviceEvent", 0)
            .with_data("/dev/video0")
            .with({{"dump_file", "/crashlog/uvc.dmp"}, {"driver_name", "uvcvideo"}})
            .publishes(R"(dev_crash_report {
                device_path: "/dev/video0" dump_file: "/crashlog/uvc.dmp" driver_name: "uvcvideo"
            })")
            .logging({info("DEVICE_CRASHED event")}),
        on("DeviceEvent", 0).publishes("dev_crash_report {}"),
        on("DeviceEvent", 1).logging({warning("Unknown event")}),

        // Feature toggles: only "1" enables, and event 2 always disables.
        on("FeatureToggleEvent", 1)
            .with({{"name", "whiteboard"}, {"value", "1"}})
            .publishes(R"(feature_toggle_update { feature_name: "whiteboard" enabled: true })"),
        on("FeatureToggleEvent", 1)
            .with({{"name", "whiteboard"}, {"value", "true"}})
            .publishes(R"(feature_toggle_update { feature_name: "whiteboard" enabled: false })"),
        on("FeatureToggleEvent", 1)
            .with({{"name", "whiteboard"}, {"value", "0"}})
            .publishes(R"(feature_toggle_update { feature_name: "whiteboard" enabled: false })"),
        on("FeatureToggleEvent", 2)
            .with({{"name", "whiteboard"}, {"value", "1"}})
            .publishes(R"(feature_toggle_update { feature_name: "whiteboard" enabled: false })"),
        on("FeatureToggleEvent", 0).logging({info("Unknown FeatureToggle event")}),
        on("FeatureToggleEvent", 3).logging({info("Unknown FeatureToggle event")}),

        // Microphone mute.
        on("UiMuteEvent", 1)
            .publishes("new_ui_mute_state { state: MUTE_ENABLED }")
            .logging({info("mute enabled")}),
        on("UiMuteEvent", 2)
            .publishes("new_ui_mute_state { state: MUTE_DISABLED }")
            .logging({info("mute disabled")}),
        on("UiMuteEvent", 3)
            .publishes("new_ui_mute_state { state: MUTED_BY_SERVER }")
            .logging({info("muted by server")}),
        on("UiMuteEvent", 0).silently(),
        on("UiMuteEvent", 4).silently(),

        // Server asks to unmute.
        on("UiServerMuteEvent", 1).publishes("ui_server_mute_event { event: REQUEST_TO_UNMUTE }"),
        on("UiServerMuteEvent", 0).silently(),
        on("UiServerMuteEvent", 2).silently(),

        // Video signage.
        on("VideoSignageEvent", 0)
            .publishes("new_video_signage_state { state: ERROR }")
            .logging({info("Video Signage Error")}),
        on("VideoSignageEvent", 1)
            .publishes("new_video_signage_state { state: INITIALIZED }")
            .logging({info("Video Signage Initialized")}),
        on("VideoSignageEvent", 2)
            .publishes("new_video_signage_state { state: PLAYING }")
            .logging({info("Video Signage Playing")}),
        on("VideoSignageEvent", 3)
            .publishes("new_video_signage_state { state: DONE }")
            .logging({info("Video Signage DONE")}),
        on("VideoSignageEvent", 4).logging({info("unknown videosignage event")}),

        // Volume: the data text travels unchanged.
        on("UiVolumeEvent", 1)
            .with_data("35")
            .publishes(R"(new_ui_volume_state { state: VOLUME_CHANGED volume: "35" })")
            .logging({info("VOLUME_CHANGED")}),
        on("UiVolumeEvent", 2)
            .with_data(" 7 of 10")
            .publishes(R"(new_ui_volume_state { state: RINGER_VOLUME_CHANGED volume: " 7 of 10" })")
            .logging({info("RINGER_VOLUME_CHANGED")}),
        on("UiVolumeEvent", 3).logging({info("unknown volume event")}),

        // Audio path.
        on("UiAudioPathEvent", 1)
            .with_data("5")
            .publishes("new_ui_audio_path_state { state: AUDIO_PATH_CHANGED }")
            .logging({info("AUDIO_PATH_CHANGED")}),
        on("UiAudioPathEvent", 2)
            .with_data("3")
            .publishes(
                "new_ui_audio_path_state { state: AUDIO_PATH_SELECTED current_path_index: 3 }")
            .logging({info("AUDIO_PATH_SELECTED")}),
        on("UiAudioPathEvent", 2).with_data("speaker").raising(Raises::invalid_argument),
        on("UiAudioPathEvent", 2).with_data("4294967296").raising(Raises::out_of_range),
        on("UiAudioPathEvent", 0).logging({info("unknown audio path event")}),

        // HDMI input.
        on("HDMIRxEvent", 0).publishes("hdmi_rx_event {}").logging({info("HDMI_RX_CHANGED")}),
        on("HDMIRxEvent", 1).logging({info("unknown hdmi rx event")}),

        // Content share: numbers 1 to 10 are the share states; any other still
        // tells clients that the share state changed.
        on("ContentShareEvent", 1)
            .publishes("new_share_state { state: LOCAL_WIRELESS_SHARE_STARTED }")
            .logging({info("LOCAL_WIRELESS_SHARE_STARTED")}),
        on("ContentShareEvent", 2)
            .publishes("new_share_state { state: LOCAL_WIRELESS_SHARE_STOPPED }")
            .logging({info("LOCAL_WIRELESS_SHARE_STOPPED")}),
        on("ContentShareEvent", 3)
            .publishes("new_share_state { state: LOCAL_WIRED_SHARE_STARTED }")
            .logging({info("LOCAL_WIRED_SHARE_STARTED")}),
        on("ContentShareEvent", 4)
            .publishes("new_share_state { state: LOCAL_WIRED_SHARE_STOPPED }")
            .logging({info("LOCAL_WIRED_SHARE_STOPPED")}),
        on("ContentShareEvent", 5)
            .publishes("new_share_state { state: IN_CALL_LOCAL_WIRELESS_SHARE_STARTED }")
            .logging({info("IN_CALL_LOCAL_WIRELESS_SHARE_STARTED")}),
        on("ContentShareEvent", 6)
            .publishes("new_share_state { state: IN_CALL_LOCAL_WIRELESS_SHARE_STOPPED }")
            .logging({info("IN_CALL_LOCAL_WIRELESS_SHARE_STOPPED")}),
        on("ContentShareEvent", 7)
            .publishes("new_share_state { state: IN_CALL_LOCAL_WIRED_SHARE_STARTED }")
            .logging({info("IN_CALL_LOCAL_WIRED_SHARE_STARTED")}),
        on("ContentShareEvent", 8)
            .publishes("new_share_state { state: IN_CALL_LOCAL_WIRED_SHARE_STOPPED }")
            .logging({info("IN_CALL_LOCAL_WIRED_SHARE_STOPPED")}),
        on("ContentShareEvent", 9)
            .publishes("new_share_state { state: IN_CALL_REMOTE_SHARE_STARTED }")
            .logging({info("IN_CALL_REMOTE_SHARE_STARTED")}),
        on("ContentShareEvent", 10)
            .publishes("new_share_state { state: IN_CALL_REMOTE_SHARE_STOPPED }")
            .logging({info("IN_CALL_REMOTE_SHARE_STOPPED")}),
        on("ContentShareEvent", 11)
            .publishes("new_share_state { state: SHARESTATE_UNKNOWN }")
            .logging({info("Unknown ContentShareEvent")}),
        on("ContentShareEvent", 0)
            .publishes("new_share_state { state: SHARESTATE_UNKNOWN }")
            .logging({info("Unknown ContentShareEvent")}),
        on("ContentShareEvent", kHighestEvent)
            .publishes("new_share_state { state: SHARESTATE_UNKNOWN }")
            .logging({info("Unknown ContentShareEvent")}),

        // Local access point.
        on("APModeEvent", 1)
            .with({{"ssid", "room-ap"}, {"passphrase", "s3cret"}, {"ip_address", "10.1.1.1"}})
            .publishes(R"(ap_mode_update {
                state: ENABLE
                data { ssid: "room-ap" passphrase: "s3cret" ip_address: "10.1.1.1" }
            })")
            .logging({info("Forward APModeUpdate Event ENABLE")}),
        on("APModeEvent", 2)
            .with({{"ssid", "room-ap"}})
            .publishes("ap_mode_update { state: DISABLE data {} }")
            .logging({info("Forward APModeUpdate Event DISABLE")}),
        on("APModeEvent", 3).logging({warning("unknown APMode event - 3")}),
        on("APModeClientEvent", 1)
            .with({{"ssid", "room-ap"}})
            .publishes("ap_mode_update { state: CLIENT_CONNECTED }")
            .logging({info("Forward APModeClient Event CLIENT_CONNECTED")}),
        on("APModeClientEvent", 2)
            .publishes("ap_mode_update { state: CLIENT_DISCONNECTED }")
            .logging({info("Forward APModeClient Event CLIENT_DISCONNECTED")}),
        on("APModeClientEvent", 0).logging({warning("unknown APModeClient event - 0")}),

        // Device services.
        on("ServiceEvent", 1)
            .with({{"service_name", "mediad"}})
            .publishes(R"(new_service_event { state: READY service_name: "mediad" })")
            .logging({info("ServiceEvent: mediad is ready")}),
        on("ServiceEvent", 2)
            .with({{"service_name", "mediad"}})
            .publishes(R"(new_service_event { state: UNAVAILABLE service_name: "mediad" })")
            .logging({info("ServiceEvent: mediad is unavailable")}),
        on("ServiceEvent", 0)
            .with({{"service_name", "mediad"}})
            .publishes(R"(new_service_event { state: ERROR service_name: "mediad" })")
            .logging({info("ServiceEvent: mediad has error")}),
        on("ServiceEvent", 7)
            .with({{"service_name", "ringer"}})
            .publishes(R"(new_service_event { state: ERROR service_name: "ringer" })")
            .logging({info("ServiceEvent: ringer has unknown error")}),
        on("ServiceEvent", 1).publishes("new_service_event { state: READY }"),
        on("ServiceEvent", kLowestEvent)
            .publishes("new_service_event { state: ERROR }")
            .logging({info("ServiceEvent:  has unknown error")}),

        // Share available: the call control's record, packed.
        on("ShareAvailableEvent", 1)
            .carrying(share)
            .publishes(R"(new_share_available {
                sharing_participant { uuid: "p-1" name: "Ada" status: ON_HOLD type: ROOM_DEVICE }
                is_local_share: true
            })")
            .logging({info("Incoming ShareAvailableEvent event")}),
        on("ShareAvailableEvent", 1).carrying(odd_share).publishes(R"(new_share_available {
                sharing_participant { uuid: "p-2" status: STATUS_UNKNOWN type: TYPE_UNKNOWN }
            })"),
        on("ShareAvailableEvent", 1)
            .carrying(vanta::calling::ShareAvailable())
            .publishes("new_share_available { sharing_participant {} }"),
        on("ShareAvailableEvent", 1)
            .raising(Raises::runtime_error,
                     "ShareAvailable: Failed to unpack calling sharing available data"),
        on("ShareAvailableEvent", 1)
            .carrying(share.sharing_participant())
            .raising(Raises::runtime_error,
                     "ShareAvailable: Failed to unpack calling sharing available data"),
        on("ShareAvailableEvent", 1)
            .carrying_undecodable(share)
            .raising(Raises::runtime_error,
                     "ShareAvailable: Failed to unpack calling sharing available data"),
        on("ShareAvailableEvent", 0).carrying(share),
        on("ShareAvailableEvent", 2).carrying(share),

        // Proxy configuration.
        on("ProxyConfigEvent", 1)
            .publishes("new_proxy_config_event { state: CHANGED }")
            .logging({info("Plugin ProxyConfigEvent CHANGED"),
                      info("Plugin ProxyConfigEvent update status: event=1")}),
        on("ProxyConfigEvent", 2)
            .publishes("new_proxy_config_event { state: ERROR }")
            .logging({info("Plugin ProxyConfigEvent ERROR"),
                      info("Plugin ProxyConfigEvent update status: event=2")}),
        on("ProxyConfigEvent", 0),
        on("ProxyConfigEvent", 3),

        // Network status: the event number is the connectivity.
        on("NetworkStatusEvent", 2)
            .with_data("192.168.1.20")
            .with(kNetwork)
            .publishes(R"(new_network_status_report {
                state: CONNECTED active_interface: ETHERNET error: NO_ERROR
                ipaddress: "192.168.1.20" apmode: true ssid: "office"
                subnet_mask: "255.255.255.0" default_gateway: "192.168.1.1"
                dns_domain_name: "example.org" dns_primary_server: "192.168.1.2"
                dns_secondary_server: "192.168.1.3" dns_tertiary_server: "192.168.1.4"
            })"),
        on("NetworkStatusEvent", 2)
            .with({{"INTERFACE", "WIFI"}, {"ERROR_CODE", "DHCP_TIMEOUT"}, {"APMODE", "DISABLED"}})
            .publishes(R"(new_network_status_report {
                state: CONNECTED active_interface: WIFI error: UNKNOWN_ERROR apmode: false
            })"),
        on("NetworkStatusEvent", 1)
            .with(
                {{"INTERFACE", "ethernet"}, {"ERROR_CODE", "NO_ETH0_LINK"}, {"APMODE", "enabled"}})
            .publishes(R"(new_network_status_report {
                state: DISCONNECTED active_interface: UNKNOWN_INTERFACE error: NO_ETH0_LINK
            })"),
        on("NetworkStatusEvent", 1)
            .with({{"ERROR_CODE", "WIFI_AUTHENTICATION_FAILED"}})
            .publishes("new_network_status_report { state: DISCONNECTED error: "
                       "WIFI_AUTHENTICATION_FAILED }"),
        on("NetworkStatusEvent", 1)
            .with({{"ERROR_CODE", "WIFI_SIGNAL_NO_NETWORK"}})
            .publishes(
                "new_network_status_report { state: DISCONNECTED error: WIFI_SIGNAL_NO_NETWORK }"),
        on("NetworkStatusEvent", 1)
            .with({{"ERROR_CODE", "NO_WIFI_CREDENTIALS"}})
            .publishes(
                "new_network_status_report { state: DISCONNECTED error: NO_WIFI_CREDENTIALS }"),
        on("NetworkStatusEvent", 1)
            .with({{"ERROR_CODE", "IEEE_8021X_FAILURE"}})
            .publishes(
                "new_network_status_report { state: DISCONNECTED error: IEEE8021X_FAILURE }"),
        on("NetworkStatusEvent", 1)
            .with({{"ERROR_CODE", "LINK_UP_NO_IP"}})
            .publishes("new_network_status_report { state: DISCONNECTED error: LINK_UP_NO_IP }"),
        on("NetworkStatusEvent", 1)
            .publishes("new_network_status_report { state: DISCONNECTED error: UNKNOWN_ERROR }"),
        on("NetworkStatusEvent", 0).logging({info("NetworkStatusPlugin: unknown network event")}),
        on("NetworkStatusEvent", 3).logging({info("NetworkStatusPlugin: unknown network event")}),

        // 802.1X.
        on("Ieee8021xEvent", 0)
            .publishes("new_8021x_status { status: UNKNOWN }")
            .logging({info("IEEE 8021x Disabled")}),
        on("Ieee8021xEvent", 1)
            .publishes("new_8021x_status { status: IEEE_8021x_SUCCESS }")
            .logging({info("IEEE 8021x Successful")}),
        on("Ieee8021xEvent", 2)
            .publishes("new_8021x_status { status: IEEE_8021x_FAILURE }")
            .logging({info("IEEE 8021x Failed")}),
        on("Ieee8021xEvent", 3).logging({info("unknown ieee 8021x event")}),

        // Krell configuration: unknown numbers publish the UNKNOWN state.
        on("KrellConfigManagerEvent", 2)
            .with({{"value", "10.0.0.5"}})
            .publishes(R"(new_krellconfigmanager_status {
                state: KRELL_TFTP_ADDRESS_UPDATED name: "KRELL_TFTP_ADDRESS_UPDATED"
                value: "10.0.0.5"
            })")
            .logging({info("Plugin KrellConfigManagerEvent KRELL_TFTP_ADDRESS_UPDATED"),
                      info("Plugin KrellConfigManagerEvent update status: event=1 name: "
                           "KRELL_TFTP_ADDRESS_UPDATED value: 10.0.0.5")}),
        on("KrellConfigManagerEvent", 3)
            .with({{"value", "payload-7"}})
            .publishes(R"(new_krellconfigmanager_status {
                state: KRELL_CONFIG_PAYLOAD_DOWNLOADED name: "KRELL_CONFIG_PAYLOAD_DOWNLOADED"
                value: "payload-7"
            })"),
        on("KrellConfigManagerEvent", 1).publishes(R"(new_krellconfigmanager_status {
                state: KRELL_DEVICE_CONFIG_UPDATED name: "KRELL_DEVICE_CONFIG_UPDATED"
            })"),
        on("KrellConfigManagerEvent", 0)
            .with({{"value", "x"}})
            .publishes(
                R"(new_krellconfigmanager_status { state: UNKNOWN name: "UNKNOWN" value: "x" })"),
        on("KrellConfigManagerEvent", 4)
            .publishes(R"(new_krellconfigmanager_status { state: UNKNOWN name: "UNKNOWN" })"),

        // Krell security: unknown numbers publish the UNKNOWN state.
        on("KrellSecurityEvent", 1)
            .with({{"reason", "renewed"}, {"value", "cert-9"}})
            .publishes(R"(new_krellsecurity_status {
                state: LSC_UPDATE_SUCCESS reason: "renewed" value: "cert-9"
            })"),
        on("KrellSecurityEvent", 2)
            .with({{"reason", "CA rejected"}})
            .publishes(
                R"(new_krellsecurity_status { state: LSC_UPDATE_FAILED reason: "CA rejected" })"),
        on("KrellSecurityEvent", 0).publishes("new_krellsecurity_status { state: UNKNOWN }"),
        on("KrellSecurityEvent", 3).publishes("new_krellsecurity_status { state: UNKNOWN }"),
        on("KrellSecurityEvent", kHighestEvent)
            .publishes("new_krellsecurity_status { state: UNKNOWN }"),

        // Room control: actions carry the data text; 6 is a space update.
        on("NimboRoomControl", 1)
            .with_data("40")
            .publishes(R"(new_roomcontrol_action { action: SET_VOLUME data: "40" })")
            .logging({info("VANTAAPI SET_VOLUME")}),
        on("NimboRoomControl", 2)
            .publishes("new_roomcontrol_action { action: SET_MUTE }")
            .logging({info("VANTAAPI SET_MUTE")}),
        on("NimboRoomControl", 3)
            .publishes("new_roomcontrol_action { action: SET_UNMUTE }")
            .logging({info("VANTAAPI SET_UNMUTE")}),
        on("NimboRoomControl", 4)
            .with_data("5")
            .publishes(R"(new_roomcontrol_action { action: INCREASE_VOLUME data: "5" })")
            .logging({info("VANTAAPI INCREASE_VOLUME")}),
        on("NimboRoomControl", 5)
            .with_data("5")
            .publishes(R"(new_roomcontrol_action { action: DECREASE_VOLUME data: "5" })")
            .logging({info("VANTAAPI DECREASE_VOLUME")}),
        on("NimboRoomControl", 6)
            .carrying(space)
            .publishes(R"(space_update_event {
                number_of_devices_in_space: 3
                self { device_url: "sip:self" roles: CALL_CONTROL_MASTER roles: ULTRASOUND_BROADCASTING }
                companions {
                    device_url: "sip:a" roles: MAIN_AUDIO_RENDERING roles: MAIN_VIDEO_RENDERING
                }
                companions {
                    device_url: "sip:b"
                    roles: PRESENTATION_RENDERING roles: BINDINGS_CLEANUP_AFTER_CALL
                    roles: UNKNOWN_ROLE
                }
            })")
            .logging({info("VANTAAPI SPACE_DEVICES_UPDATED")}),
        on("NimboRoomControl", 6)
            .carrying(vanta::nimboroomcontrol::SpaceDeviceInfo())
            .publishes("space_update_event {}"),
        on("NimboRoomControl", 6)
            .raising(Raises::runtime_error,
                     "SpaceUpdate: Failed to unpack room control space device info"),
        on("NimboRoomControl", 6)
            .carrying_undecodable(space)
            .raising(Raises::runtime_error,
                     "SpaceUpdate: Failed to unpack room control space device info"),
        on("NimboRoomControl", 0).logging({info("unknown room control event")}),
        on("NimboRoomControl", 7).logging({info("unknown room control event")}),
    };
}

}  // namespace vanta::testing
