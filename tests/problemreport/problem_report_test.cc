// The report model: texts of its enumerations, trigger objects, events and
// the personal data it hides.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "problemreport/bundle_paths.h"
#include "problemreport/problem_report.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using namespace problemreport;

TEST(ProblemReportTypes, TextsRoundTripAndUnknownTextsThrow) {
    for (const auto priority :
         {BundlePriority::high, BundlePriority::medium, BundlePriority::low}) {
        EXPECT_EQ(str_to_bundle_priority(bundle_priority_to_str(priority)), priority);
    }
    EXPECT_EQ(bundle_priority_to_str(static_cast<BundlePriority>(9)), "unknown");
    EXPECT_EQ(collection_flag_to_str(static_cast<CollectionFlag>(9)), "unknown");
    EXPECT_THAT([] { str_to_bundle_priority("High"); },
                ::testing::ThrowsMessage<std::invalid_argument>("Unknown BundlePriority: High"));
    EXPECT_EQ(str_to_collection_flag("include_developer_debug"),
              CollectionFlag::include_developer_debug);
}

TEST(ProblemReportTypes, TriggersWriteTheirFixedMembers) {
    EXPECT_EQ(trigger_to_json(UserRequest{"no sound"}),
              (nlohmann::json{{"trigger_type", "user"},
                              {"reason", "user-request"},
                              {"eventType", "room.request_logs"},
                              {"originator", "vantaapi/browser"},
                              {"description", "no sound"}}));
    const auto crash = trigger_to_json(CrashTrigger{77, "mediad"});
    EXPECT_EQ(crash["reason"], "crash");
    const auto developer = trigger_to_json(DeveloperRequest{{{"level", 3}}});
    EXPECT_EQ(developer["originator"], "developer");
    EXPECT_EQ(developer["level"], 3);
    EXPECT_THROW(trigger_from_json({{"trigger_type", "alien"}}), std::invalid_argument);
}

TEST(ProblemReport, HidingPersonalDataDropsEveryEmail) {
    ConsoleCapture console;
    ProblemReport report({"prb-mail",
                          BundlePriority::low,
                          {CloudRequest{{{"email", "a@b.c"}, {"job", "1"}}},
                           DeveloperRequest{{{"email", "d@e.f"}}}, UserRequest{"x"}},
                          {}});
    const auto shown = report.get_data(false);
    EXPECT_EQ(shown["reasons"][0]["email"], "a@b.c");
    EXPECT_EQ(console.count("Hiding email from data"), 0u);

    const auto hidden = report.get_data(true);
    for (const auto& reason : hidden["reasons"]) {
        EXPECT_FALSE(reason.contains("email")) << reason;
    }
    EXPECT_EQ(hidden["reasons"][0]["job"], "1");
    EXPECT_EQ(console.count("Hiding email from data"), 1u);
}

TEST(ProblemReport, TrackedEventsAreRecordedAndUntrackedStopsLogged) {
    ConsoleCapture console;
    ProblemReport report({"prb-events", BundlePriority::low, {}, {}});
    report.record_event("queued", "waiting");
    report.start_tracking_event("upload");
    report.stop_tracking_event("upload");
    report.stop_tracking_event("upload");
    const auto events = report.get_recorded_events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].get_message(), "waiting");
    EXPECT_EQ(events[2].get_event_name(), "upload");
    EXPECT_EQ(console.count("Trying to stop untracked event [upload]"), 1u);
    EXPECT_EQ(report.get_data(false)["recorded_events"].size(), 3u);
}

TEST(BundlePaths, MetadataSitsBesideTheBundle) {
    EXPECT_EQ(metadata_path_from_bundle_path("/tmp/a.tar.gz"), "/tmp/a.tar.gz.metadata.json");
    EXPECT_EQ(bundle_path_from_metadata_path("/tmp/a.tar.gz.metadata.json"), "/tmp/a.tar.gz");
    EXPECT_TRUE(is_valid_metadata_json_file("x.metadata.json"));
    EXPECT_FALSE(is_valid_metadata_json_file("x.metadata.json.partial"));
    EXPECT_EQ(create_partial_path("/tmp/a"), "/tmp/a.partial");
}

}  // namespace
}  // namespace vanta::testing
