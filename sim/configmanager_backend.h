#pragma once

#include <google/protobuf/empty.pb.h>

#include "configmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The device configuration service : scripted replies, recorded requests, and its event stream.
class ConfigManagerBackend final : public configmanager::Configuration::Service,
                                   public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetTimezone, google::protobuf::Empty, configmanager::TimezoneData)
    VANTA_SCRIPTED_OPERATION(GetGeoServiceInfo, google::protobuf::Empty,
                             configmanager::GeoServiceInfoData)
    VANTA_SCRIPTED_OPERATION(SetTimezone, configmanager::TimezoneData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetGuiSettingsEnabled, google::protobuf::Empty,
                             configmanager::GuiSettingsEnabledData)
    VANTA_SCRIPTED_OPERATION(GetLocale, google::protobuf::Empty, configmanager::LocaleData)
    VANTA_SCRIPTED_OPERATION(SetLocale, configmanager::LocaleData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetRingTone, google::protobuf::Empty, configmanager::RingToneData)
    VANTA_SCRIPTED_OPERATION(SetRingTone, configmanager::RingToneData, configmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetRingToneList, google::protobuf::Empty, configmanager::RingToneList)
    VANTA_SIM_EVENT_STREAM(configmanager::Event, configmanager::SubscriptionRequest)
};

}  // namespace vanta::sim
