#include "platform/platform_info.h"

#include <algorithm>

namespace vanta::platform {

std::vector<BackendService> supported_backend_services() {
    return {BackendService::Nimbo};
}

bool is_backend_service_supported(BackendService service) {
    const auto services = supported_backend_services();
    return std::find(services.begin(), services.end(), service) != services.end();
}

bool is_wired_share_supported() {
    return false;
}

bool is_vad_enabled() {
    return true;
}
bool is_video_hardware_acceleration_supported() {
    return true;
}
bool is_wireless_share_supported() {
    return true;
}
bool is_ultrasound_broadcast_supported() {
    return true;
}
bool is_ultrasound_during_sleep_supported() {
    return true;
}
bool is_pin_challenge_supported() {
    return true;
}
bool is_apmode_supported() {
    return true;
}
bool is_wifi_supported() {
    return true;
}
bool is_egl_yuv_hint_supported() {
    return true;
}
bool is_release_build() {
    return true;
}
bool is_user_detection_supported() {
    return false;
}
bool is_audio_feedback_needed() {
    return false;
}
bool is_whiteboard_rendering_supported() {
    return false;
}
bool is_whiteboard_editing_supported() {
    return false;
}
bool is_sharing_notification_supported() {
    return false;
}
bool is_onprem_share_supported() {
    return false;
}
bool is_onprem_kesti_supported() {
    return false;
}
bool is_v4l2_driver_supported() {
    return false;
}
bool is_camera_supported() {
    return false;
}
bool is_binding_cleanup_supported() {
    return false;
}
bool is_call_control_supported() {
    return false;
}
bool is_hw_revised_for_aec_improvements() {
    return false;
}
bool is_cdp_lldp_supported() {
    return false;
}
bool is_cloud_recents_supported() {
    return false;
}
bool is_screensetting_supported() {
    return false;
}
bool is_bluetooth_supported() {
    return false;
}
bool is_wiredmic_supported() {
    return false;
}
bool is_deepsleep_led_supported() {
    return false;
}
bool is_alpha_buffer_needed() {
    return false;
}
bool is_nfc_supported() {
    return false;
}
bool is_ion_supported() {
    return false;
}
bool is_optimized_ui_supported() {
    return false;
}
bool is_gbm_optimization_enabled() {
    return false;
}
bool is_supported_usb_headset() {
    return false;
}
bool is_audio_hub_supported() {
    return false;
}
bool is_test_mode() {
    return false;
}

int get_supported_main_audio_mode() {
    return 0;
}
int get_supported_main_video_mode() {
    return 0;
}
int get_supported_presentation_audio_mode() {
    return 1;
}
int get_supported_presentation_video_mode() {
    return 1;
}
bool is_main_audio_supported() {
    return get_supported_main_audio_mode() != 0;
}
bool is_presentation_audio_supported() {
    return get_supported_presentation_audio_mode() != 0;
}
// Video mode 2 carries no rendering.
bool is_main_video_rendering_supported() {
    const int mode = get_supported_main_video_mode();
    return mode != 0 && mode != 2;
}
bool is_presentation_rendering_supported() {
    const int mode = get_supported_presentation_video_mode();
    return mode != 0 && mode != 2;
}

int get_default_share_rx_bitrate() {
    return 2500;
}
int get_default_share_tx_bitrate() {
    return 2500;
}
int get_tone_play_timeout() {
    return 5;
}
int get_default_audio_input() {
    return 1;
}
int get_default_audio_output() {
    return 1;
}
int get_delay_duration_disable_wifi() {
    return 2;
}
int get_monitor_temperature_threshold() {
    return 70;
}
int get_high_temperature_threshold() {
    return 80;
}
int get_reboot_temperature_threshold() {
    return 95;
}
int get_drm_max_width() {
    return 2048;
}
int get_supported_max_width() {
    return 1920;
}
int get_supported_max_height() {
    return 1080;
}
int get_gbm_format_by_type(int /*type*/) {
    return -1;
}
int get_hdmi_edid_i2c_bus_id() {
    return 0;
}
int get_lcd_clockwise_rotate_degrees() {
    return 0;
}
int get_share_content_screen() {
    return 0;
}
int get_ap_mode_disable_type() {
    return 0;
}
int get_ion_flags() {
    return 0;
}
int get_ion_heap_id_mask() {
    return 0;
}
int get_default_main_input_gain() {
    return 0;
}
int get_default_presentation_input_gain() {
    return 0;
}
int get_default_line_input_gain() {
    return 0;
}
int get_default_hdmi_input_gain() {
    return 0;
}
int get_wiredmic_count() {
    return 0;
}
int get_wiredmic_mute_voltage() {
    return 0;
}
int get_wiredmic_unmute_voltage() {
    return 0;
}
int convert_to_absolute_brightness(int /*relative*/) {
    return 0;
}
std::vector<std::string> get_ringtone_list() {
    return {};
}

std::string get_apmode_ip_address() {
    return "169.254.1.1";
}
std::string get_platform_name() {
    return "imx";
}
std::string get_tams_device_type() {
    return "SWTAM";
}
std::string get_mfg_installed_cert_name() {
    return "mic_cert";
}
std::string get_mfg_installed_key_name() {
    return "mic_rsa_key";
}
std::string get_wired_8021x_store() {
    return "ieee8021x_config";
}
std::string get_crashdump_directory() {
    return "/crashlog/dumpfiles";
}
std::string get_dev_crashdump_directory() {
    return "/crashlog/dumpfiles/devdumps";
}
std::string get_static_ip_config_filename_for_wifi() {
    return "/storage/services/config/ipv4.static.wlan0.conf";
}
std::string get_static_ip_config_filename_for_ethernet() {
    return "/storage/services/config/ipv4.static.eth0.conf";
}
std::string get_static_dns_resolve_config_filename() {
    return "/storage/services/config/resolv.static.conf";
}
std::string get_digital_signage_cert_path() {
    return "/storage/truststore/digital-signage.pem";
}
std::string get_root_cert_path() {
    return "/storage/truststore";
}
std::string get_halden_cert_path() {
    return get_root_cert_path() + "/glint_ca_list/halden_domains";
}
std::string get_trusted_domains_cert_path() {
    return get_root_cert_path() + "/glint_ca_list/other_domains";
}
std::string get_bluetooth_config_path() {
    return "/config/bluetooth/config";
}
std::string get_default_database_storage_dir() {
    return "/storage/services";
}
std::string get_branding_storage_path() {
    return "/storage/branding";
}
std::string get_screenshot_file_name_for_display() {
    return "/tmp/screenshot-HDMI1.png";
}
std::string get_screenshot_file_name_for_touchscreen() {
    return "/tmp/screenshot-LCD.png";
}
std::string get_lldpd_vlan_output_filename() {
    return "/run/sysconfig.d/lldpd";
}
std::string get_problem_report_pending_upload_storage_path() {
    return "/storage/problemreports_pending_upload";
}
std::string get_krell_security_path() {
    return "/storage/krellsecurity";
}
std::string get_chime_file_path() {
    return "/usr/share/chimes";
}
std::string get_cdp_lldp_config_filename() {
    return "/config/cdplldp.config";
}
std::string get_vlan_config_filename() {
    return "/config/cdplldp";
}
std::string get_beacon_token_directory() {
    return "/audio";
}
std::string get_wpa_output_filename() {
    return "/run/ieee8021x/wpa_supplicant_wired_result";
}
std::string get_historic_logs_directory() {
    return "/config/logs";
}
std::string get_wiredmic_mute_control_path() {
    return "NA";
}
std::string get_wiredmic_led_control_path() {
    return "NA";
}
std::string get_wiredmic_detect_gpio_path() {
    return "NA";
}
std::vector<std::string> get_logcollection_directories() {
    return {"/tmp/sysstate", "/var/log", "/storage/install_logs"};
}
std::vector<std::string> get_button_event_devices() {
    return {"/sys/class/gpio/gpio86/value"};
}

std::string get_product_name() {
    return "Vanta Room Kit";
}
std::string get_short_product_name() {
    return "Room Kit";
}
std::string get_model_name() {
    return "VRK-10";
}
std::string get_device_type() {
    return "vanta_roomkit";
}
std::string get_apmode_ssid_prefix() {
    return "VantaRoomKit-";
}
std::string get_default_device_pid() {
    return "VRK-10-K9";
}

std::string vanta_software_name() {
    return !is_release_build() && is_test_mode() ? "VantaTest" : "Vanta";
}
std::string get_software_name() {
    return vanta_software_name();
}
std::string get_system_name() {
    return vanta_software_name();
}

}  // namespace vanta::platform
