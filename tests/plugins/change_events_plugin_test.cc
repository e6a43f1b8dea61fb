// The configuration and system-controller plugins in the whole service against
// simulated backends: which change notices reach subscribers, as bare change
// events without values.

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

template <typename Event>
Event change(int what) {
    Event event;
    event.set_what(static_cast<decltype(event.what())>(what));
    return event;
}

std::vector<std::string> as_text(const std::vector<vantaapi::VantaEvent>& events) {
    std::vector<std::string> texts;
    for (const vantaapi::VantaEvent& event : events) {
        texts.push_back(event.ShortDebugString());
    }
    return texts;
}

TEST(ConfigurationPlugin, SettingChangesArePublishedWithoutValuesAndARingToneChangeIsNot) {
    ConsoleCapture console;
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.backends.configmanager.streams.wait_for_open_streams(1));
    // Each notice that publishes nothing comes before one that does: the
    // stream keeps the order.
    for (int what :
         std::vector<int>{configmanager::RINGTONE_CHANGED, configmanager::TIMEZONE_CHANGED,
                          configmanager::UNKNOWN_CHANGE, configmanager::LOCALE_CHANGED, 9,
                          configmanager::GEO_SERVICE_INFO_CHANGED,
                          configmanager::GUI_SETTINGS_ENABLED_CHANGED}) {
        service.backends.configmanager.streams.publish(change<configmanager::Event>(what));
    }
    EXPECT_THAT(as_text(service.published(4)),
                ElementsAre("config_manager_event { what: TIMEZONE_CHANGED }",
                            "config_manager_event { what: LANGUAGE_CHANGED }",
                            "config_manager_event { what: GEO_SERVICE_INFO_CHANGED }",
                            "config_manager_event { what: GUI_SETTINGS_ENABLED_CHANGED }"));
    std::vector<std::string> plugin_lines;
    for (const std::string& line : console.lines()) {
        if (line.find("Plugin ConfigManagerEvent") != std::string::npos) {
            plugin_lines.push_back(line);
        }
    }
    EXPECT_THAT(plugin_lines,
                ElementsAre("VantaApi I: Plugin ConfigManagerEvent RingTone Changed",
                            "VantaApi I: Plugin ConfigManagerEvent Timezone Changed",
                            "VantaApi I: Plugin ConfigManagerEvent Locale Changed",
                            "VantaApi I: Plugin ConfigManagerEvent GeoServiceInfo Changed",
                            "VantaApi I: Plugin ConfigManagerEvent GuiSettingsEnabled Changed"));
}

TEST(SystemControllerPlugin, EveryChangeIsPublishedAndAnUnknownOneAsUnknown) {
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.backends.systemcontroller.streams.wait_for_open_streams(1));
    for (int what : std::vector<int>{systemcontroller::SYSTEM_STATE_CHANGED,
                                     systemcontroller::DEVICE_STATE_CHANGED, 7}) {
        service.backends.systemcontroller.streams.publish(change<systemcontroller::Event>(what));
    }
    EXPECT_THAT(as_text(service.published(3)),
                ElementsAre("system_event { what: SYSTEM_STATE }",
                            "system_event { what: DEVICE_STATE }", "system_event { }"));
}

}  // namespace
}  // namespace vanta::testing
