#pragma once

#include <mutex>
#include <string>

#include <google/protobuf/empty.pb.h>

#include "configmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The device configuration service: scripted replies, recorded requests, and
// its event stream.
//
// What it does itself: it keeps the locale, the time zone (with its date
// template) and the ring tone, answers them and the geographic information
// and the settings-menu flag of a device in use, and lists its ring tones. A
// Set operation that changes its value answers success and sends
// LOCALE_CHANGED, TIMEZONE_CHANGED or RINGTONE_CHANGED on the stream; an empty
// locale or time zone, or a ring tone not in the list, answers success false.
class ConfigManagerBackend final : public configmanager::Configuration::Service,
                                   public ScriptedBackend {
    using Empty = google::protobuf::Empty;

  public:
    ConfigManagerBackend();

    VANTA_SCRIPTED_OPERATION(GetTimezone, Empty, configmanager::TimezoneData)
    VANTA_SCRIPTED_OPERATION(GetGeoServiceInfo, Empty, configmanager::GeoServiceInfoData)
    VANTA_SCRIPTED_OPERATION(SetTimezone, configmanager::TimezoneData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetGuiSettingsEnabled, Empty, configmanager::GuiSettingsEnabledData)
    VANTA_SCRIPTED_OPERATION(GetLocale, Empty, configmanager::LocaleData)
    VANTA_SCRIPTED_OPERATION(SetLocale, configmanager::LocaleData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetRingTone, Empty, configmanager::RingToneData)
    VANTA_SCRIPTED_OPERATION(SetRingTone, configmanager::RingToneData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetRingToneList, Empty, configmanager::RingToneList)
    VANTA_SIM_EVENT_STREAM(configmanager::Event, configmanager::SubscriptionRequest)

  private:
    grpc::Status current_timezone(const Empty& request, configmanager::TimezoneData& data);
    grpc::Status set_timezone(const configmanager::TimezoneData& data,
                              configmanager::RequestStatus& status);
    grpc::Status geo_service_info(const Empty& request, configmanager::GeoServiceInfoData& data);
    grpc::Status gui_settings_enabled(const Empty& request,
                                      configmanager::GuiSettingsEnabledData& data);
    grpc::Status current_locale(const Empty& request, configmanager::LocaleData& data);
    grpc::Status set_locale(const configmanager::LocaleData& data,
                            configmanager::RequestStatus& status);
    grpc::Status current_ring_tone(const Empty& request, configmanager::RingToneData& data);
    grpc::Status set_ring_tone(const configmanager::RingToneData& data,
                               configmanager::RequestStatus& status);
    grpc::Status ring_tones(const Empty& request, configmanager::RingToneList& list);
    // Sends `what` on the stream; REQUIRES: mutex_ held.
    void announce_locked(configmanager::EventType what);

    std::mutex mutex_;
    configmanager::TimezoneData timezone_;
    std::string locale_ = "en_US";
    std::string ring_tone_ = "Classic";
};

}  // namespace vanta::sim
