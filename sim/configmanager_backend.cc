#include "sim/configmanager_backend.h"

#include <algorithm>
#include <iterator>

namespace vanta::sim {

namespace {

const char* const kRingTones[] = {"Classic", "Bright", "Calm", "Chime", "Pulse"};

bool known_ring_tone(const std::string& name) {
    return std::find(std::begin(kRingTones), std::end(kRingTones), name) != std::end(kRingTones);
}

}  // namespace

ConfigManagerBackend::ConfigManagerBackend() {
    timezone_.set_timezone("Europe/Oslo");
    timezone_.set_date_template("dd.MM.yyyy");
    behave("GetTimezone", &ConfigManagerBackend::current_timezone);
    behave("SetTimezone", &ConfigManagerBackend::set_timezone);
    behave("GetGeoServiceInfo", &ConfigManagerBackend::geo_service_info);
    behave("GetGuiSettingsEnabled", &ConfigManagerBackend::gui_settings_enabled);
    behave("GetLocale", &ConfigManagerBackend::current_locale);
    behave("SetLocale", &ConfigManagerBackend::set_locale);
    behave("GetRingTone", &ConfigManagerBackend::current_ring_tone);
    behave("SetRingTone", &ConfigManagerBackend::set_ring_tone);
    behave("GetRingToneList", &ConfigManagerBackend::ring_tones);
}

grpc::Status ConfigManagerBackend::current_timezone(const Empty&,
                                                    configmanager::TimezoneData& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    data = timezone_;
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::set_timezone(const configmanager::TimezoneData& data,
                                                configmanager::RequestStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    status.set_success(!data.timezone().empty());
    if (status.success() && data.SerializeAsString() != timezone_.SerializeAsString()) {
        timezone_ = data;
        announce_locked(configmanager::TIMEZONE_CHANGED);
    }
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::geo_service_info(const Empty&,
                                                    configmanager::GeoServiceInfoData& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    data.set_timezone(timezone_.timezone());
    data.set_country_code("NO");
    data.set_region_code("03");
    data.set_client_address("192.0.2.10");
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::gui_settings_enabled(
    const Empty&, configmanager::GuiSettingsEnabledData& data) {
    data.set_gui_settings_enabled(true);
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::current_locale(const Empty&, configmanager::LocaleData& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    data.set_language(locale_);
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::set_locale(const configmanager::LocaleData& data,
                                              configmanager::RequestStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    status.set_success(!data.language().empty());
    if (status.success() && data.language() != locale_) {
        locale_ = data.language();
        announce_locked(configmanager::LOCALE_CHANGED);
    }
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::current_ring_tone(const Empty&,
                                                     configmanager::RingToneData& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    data.set_name(ring_tone_);
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::set_ring_tone(const configmanager::RingToneData& data,
                                                 configmanager::RequestStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    status.set_success(known_ring_tone(data.name()));
    if (status.success() && data.name() != ring_tone_) {
        ring_tone_ = data.name();
        announce_locked(configmanager::RINGTONE_CHANGED);
    }
    return grpc::Status::OK;
}

grpc::Status ConfigManagerBackend::ring_tones(const Empty&, configmanager::RingToneList& list) {
    for (const char* name : kRingTones) {
        list.add_name(name);
    }
    return grpc::Status::OK;
}

void ConfigManagerBackend::announce_locked(configmanager::EventType what) {
    configmanager::Event event;
    event.set_what(what);
    streams.publish(event);
}

}  // namespace vanta::sim
