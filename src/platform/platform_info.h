#pragma once

#include <string>
#include <vector>

// Facts about this device model: feature switches, fixed values and paths,
// and the device's identity.
namespace vanta::platform {

// The call-control backends that can run on this model.
enum class BackendService {
    // The cloud call-control service.
    Nimbo,
    // The on-premises call-control service.
    Krell,
};

std::vector<BackendService> supported_backend_services();
bool is_backend_service_supported(BackendService service);

bool is_wired_share_supported();

// Feature switches of this model.
bool is_vad_enabled();
bool is_video_hardware_acceleration_supported();
bool is_wireless_share_supported();
bool is_ultrasound_broadcast_supported();
bool is_ultrasound_during_sleep_supported();
bool is_pin_challenge_supported();
bool is_apmode_supported();
bool is_wifi_supported();
bool is_egl_yuv_hint_supported();
bool is_release_build();
bool is_user_detection_supported();
bool is_audio_feedback_needed();
bool is_whiteboard_rendering_supported();
bool is_whiteboard_editing_supported();
bool is_sharing_notification_supported();
bool is_onprem_share_supported();
bool is_onprem_kesti_supported();
bool is_v4l2_driver_supported();
bool is_camera_supported();
bool is_binding_cleanup_supported();
bool is_call_control_supported();
bool is_hw_revised_for_aec_improvements();
bool is_cdp_lldp_supported();
bool is_cloud_recents_supported();
bool is_screensetting_supported();
bool is_bluetooth_supported();
bool is_wiredmic_supported();
bool is_deepsleep_led_supported();
bool is_alpha_buffer_needed();
bool is_nfc_supported();
bool is_ion_supported();
bool is_optimized_ui_supported();
bool is_gbm_optimization_enabled();
bool is_supported_usb_headset();
bool is_audio_hub_supported();
bool is_test_mode();

// Audio and video modes; 0 means "none".
int get_supported_main_audio_mode();
int get_supported_main_video_mode();
int get_supported_presentation_audio_mode();
int get_supported_presentation_video_mode();
bool is_main_audio_supported();
bool is_presentation_audio_supported();
bool is_main_video_rendering_supported();
bool is_presentation_rendering_supported();

// Fixed values.
int get_default_share_rx_bitrate();
int get_default_share_tx_bitrate();
// Seconds.
int get_tone_play_timeout();
int get_default_audio_input();
int get_default_audio_output();
// Seconds.
int get_delay_duration_disable_wifi();
// Degrees Celsius.
int get_monitor_temperature_threshold();
int get_high_temperature_threshold();
int get_reboot_temperature_threshold();
int get_drm_max_width();
int get_supported_max_width();
int get_supported_max_height();
int get_gbm_format_by_type(int type);
int get_hdmi_edid_i2c_bus_id();
int get_lcd_clockwise_rotate_degrees();
int get_share_content_screen();
int get_ap_mode_disable_type();
int get_ion_flags();
int get_ion_heap_id_mask();
int get_default_main_input_gain();
int get_default_presentation_input_gain();
int get_default_line_input_gain();
int get_default_hdmi_input_gain();
int get_wiredmic_count();
int get_wiredmic_mute_voltage();
int get_wiredmic_unmute_voltage();
int convert_to_absolute_brightness(int relative);
std::vector<std::string> get_ringtone_list();

// Fixed strings and paths.
std::string get_apmode_ip_address();
std::string get_platform_name();
std::string get_tams_device_type();
std::string get_mfg_installed_cert_name();
std::string get_mfg_installed_key_name();
std::string get_wired_8021x_store();
std::string get_crashdump_directory();
std::string get_dev_crashdump_directory();
std::string get_static_ip_config_filename_for_wifi();
std::string get_static_ip_config_filename_for_ethernet();
std::string get_static_dns_resolve_config_filename();
std::string get_digital_signage_cert_path();
std::string get_root_cert_path();
std::string get_halden_cert_path();
std::string get_trusted_domains_cert_path();
std::string get_bluetooth_config_path();
std::string get_default_database_storage_dir();
std::string get_branding_storage_path();
std::string get_screenshot_file_name_for_display();
std::string get_screenshot_file_name_for_touchscreen();
std::string get_lldpd_vlan_output_filename();
std::string get_problem_report_pending_upload_storage_path();
std::string get_krell_security_path();
std::string get_chime_file_path();
std::string get_cdp_lldp_config_filename();
std::string get_vlan_config_filename();
std::string get_beacon_token_directory();
std::string get_wpa_output_filename();
std::string get_historic_logs_directory();
std::string get_wiredmic_mute_control_path();
std::string get_wiredmic_led_control_path();
std::string get_wiredmic_detect_gpio_path();
std::vector<std::string> get_logcollection_directories();
std::vector<std::string> get_button_event_devices();

// Product identity.
std::string get_product_name();
std::string get_short_product_name();
std::string get_model_name();
std::string get_device_type();
std::string get_apmode_ssid_prefix();
// The product id used when the manufacturing data has none.
std::string get_default_device_pid();

// "VantaTest" for a test-mode build that is not a release build, else "Vanta".
std::string vanta_software_name();
std::string get_software_name();
std::string get_system_name();

}  // namespace vanta::platform

namespace vanta {
// The platform facts are also known by this name.
namespace platforminfo = platform;
}  // namespace vanta
