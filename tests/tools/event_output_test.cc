// What `vanta-cli events` prints and which events it keeps: the one-line
// human form of events of several shapes, and the --filter names.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_errors.h"
#include "event_filter.h"
#include "event_formatter.h"

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;
using vantaapi::VantaEvent;

VantaEvent volume_event() {
    VantaEvent event;
    event.mutable_new_ui_volume_state()->set_state(vantaapi::UiVolumeState::VOLUME_CHANGED);
    event.mutable_new_ui_volume_state()->set_volume("35");
    return event;
}

VantaEvent call_event() {
    VantaEvent event;
    auto& call = *event.mutable_new_call_state();
    call.set_state(vantaapi::CallState::CONNECTED);
    call.set_call_id(7);
    call.set_remote_name("Ada \"the\" Lovelace\n");
    return event;
}

VantaEvent participants_event() {
    VantaEvent event;
    auto& participants = *event.mutable_new_participants();
    participants.mutable_self()->set_name("Ada");
    participants.mutable_self()->set_moderator(true);
    participants.add_others()->set_status(vantaapi::Participant::ON_HOLD);
    participants.add_others()->set_uuid("u-3");
    participants.set_meeting_id(4);
    return event;
}

VantaEvent mute_event_at_unknown() {
    VantaEvent event;
    event.mutable_new_ui_mute_state();
    return event;
}

TEST(EventHumanLine, ShowsTheCaseAndTheFieldsThatSayAnythingOnOneLine) {
    struct Case {
        VantaEvent event;
        std::string line;
    };
    const Case cases[] = {
        {volume_event(), "ui_volume_state state=VOLUME_CHANGED volume=35"},
        // An unknown first enum value, a zero and an empty text say nothing;
        // quotes and a line break stay on the line, escaped.
        {call_event(),
         R"(call_state state=CONNECTED call_id=7 remote_name="Ada \"the\" Lovelace\n")"},
        // A first enum value that means something (CONNECTED, BRIDGE) is shown.
        {participants_event(),
         "participants self={name=Ada status=CONNECTED type=BRIDGE moderator=true} "
         "others=[{status=ON_HOLD type=BRIDGE} {uuid=u-3 status=CONNECTED type=BRIDGE}] "
         "meeting_id=4"},
        {mute_event_at_unknown(), "ui_mute_state"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::human_line(c.event), c.line);
    }
}

TEST(EventJsonLine, IsOneObjectInTheJsonMappingWithEveryField) {
    EXPECT_EQ(cli::json_line(volume_event()),
              R"({"newUiVolumeState":{"state":"VOLUME_CHANGED","volume":"35"}})");
    EXPECT_EQ(cli::json_line(mute_event_at_unknown()), R"({"newUiMuteState":{"state":"UNKNOWN"}})");
}

TEST(EventFilter, KeepsTheNamedCasesGivenRepeatedOrAsAList) {
    struct Case {
        std::vector<std::string> names;
        bool volume;
        bool call;
        bool mute;
    };
    const Case cases[] = {
        {{}, true, true, true},
        {{"ui_volume_state"}, true, false, false},
        {{"ui_volume_state,call_state"}, true, true, false},
        {{"ui_volume_state", "new_ui_mute_state"}, true, false, true},
    };
    for (const auto& c : cases) {
        const cli::EventFilter filter(c.names);
        EXPECT_EQ(filter.accepts(volume_event()), c.volume) << ::testing::PrintToString(c.names);
        EXPECT_EQ(filter.accepts(call_event()), c.call) << ::testing::PrintToString(c.names);
        EXPECT_EQ(filter.accepts(mute_event_at_unknown()), c.mute)
            << ::testing::PrintToString(c.names);
    }
}

TEST(EventFilter, RefusesANameThatIsNoCaseNamingTheCloseOnes) {
    struct Case {
        std::vector<std::string> names;
        std::string says;
    };
    const Case cases[] = {
        {{"call_state,ui_volme_state"},
         "unknown event case 'ui_volme_state'; close names: ui_volume_state"},
        {{"UiVolumeEvent"}, "unknown event case 'UiVolumeEvent'"},
        {{","}, "no event case"},
    };
    for (const auto& c : cases) {
        try {
            cli::EventFilter filter(c.names);
            ADD_FAILURE() << ::testing::PrintToString(c.names) << " was taken";
        } catch (const cli::UsageError& refusal) {
            EXPECT_THAT(refusal.what(), HasSubstr(c.says));
        }
    }
}

}  // namespace
}  // namespace vanta::testing
