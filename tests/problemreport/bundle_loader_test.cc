// Loading bundles from their metadata files, whole or damaged.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "problemreport/bundle_copy_strategy.h"
#include "problemreport/bundle_loader.h"
#include "problemreport/bundle_paths.h"
#include "problemreport/problem_report_bundle_impl.h"
#include "support/console_capture.h"
#include "support/data_files.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

using namespace problemreport;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class BundleLoaderTest : public ::testing::Test {
  protected:
    std::string bundle_path() const { return (dir_.path() / "prb-1.tar.gz").string(); }
    void write_metadata(const std::string& content) {
        write_text(metadata_path_from_bundle_path(bundle_path()), content);
    }
    // The error lines logged for the report.
    std::vector<std::string> errors() const {
        return console_.lines_containing("Incomplete bundle");
    }

    TempDir dir_;
    ConsoleCapture console_;
};

TEST_F(BundleLoaderTest, MissingMetadataGivesAnIncompleteBundleNamingThePath) {
    const auto bundle = load_bundle(bundle_path());
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->get_bundle_path(), bundle_path());
    EXPECT_EQ(bundle->get_problem_report()->get_id(), kUnknownReportId);
    EXPECT_TRUE(bundle->get_problem_report()->get_triggers().empty());
    EXPECT_THAT(errors(),
                ElementsAre(HasSubstr("Incomplete bundle created as metadata file '" +
                                      bundle_path() + ".metadata.json' could not be found.")));
}

TEST_F(BundleLoaderTest, MalformedMetadataIsLoggedAndNothingRead) {
    write_metadata("{\"problem_report_id\": \"abc\", ");
    const auto bundle = load_bundle(bundle_path());
    EXPECT_EQ(bundle->get_problem_report()->get_id(), kUnknownReportId);
    EXPECT_THAT(errors(), ElementsAre(HasSubstr("metadata file is malformed.")));
}

TEST_F(BundleLoaderTest, PartialMetadataKeepsWhatCouldBeRead) {
    write_metadata(R"({
        "problem_report_id": "prb-1",
        "priority": "urgent",
        "collection_flags": ["include_collectd", "include_everything"],
        "recorded_events": [{"event_name": "collected", "message": "ok",
                             "time_since_epoch_ms": 1700000000123}]
    })");
    const auto bundle = load_bundle(bundle_path());
    const auto& report = *bundle->get_problem_report();
    EXPECT_EQ(report.get_id(), "prb-1");
    EXPECT_EQ(report.get_priority(), kUnknownReportPriority);
    EXPECT_THAT(report.get_collection_flags(), ElementsAre(CollectionFlag::include_collectd));
    const auto events = report.get_recorded_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].get_event_name(), "collected");
    EXPECT_EQ(events[0].get_time_since_epoch_in_ms(), 1700000000123);

    EXPECT_THAT(errors(), ElementsAre(HasSubstr("\"priority\" is malformed."),
                                      HasSubstr("\"reasons\" not found in metadata."),
                                      HasSubstr("Incomplete bundle create as collection_flag could "
                                                "not be parsed: Unknown CollectionFlag: "
                                                "include_everything")));
}

TEST_F(BundleLoaderTest, WrongTypesAndBadReasonsAreNamed) {
    write_metadata(R"({
        "problem_report_id": 7,
        "priority": "medium",
        "reasons": [{"trigger_type": "user", "description": "no audio"},
                    {"trigger_type": "crash", "app": "mediad", "pid": "many"}],
        "collection_flags": []
    })");
    const auto bundle = load_bundle(bundle_path());
    const auto& report = *bundle->get_problem_report();
    EXPECT_EQ(report.get_priority(), BundlePriority::medium);
    EXPECT_TRUE(report.has_user_requests());
    EXPECT_FALSE(report.has_crashes());
    EXPECT_THAT(
        errors(),
        ElementsAre(HasSubstr("\"problem_report_id\" is malformed."),
                    HasSubstr("Incomplete bundle created as a reason could not be parsed: ")));
}

TEST_F(BundleLoaderTest, WrittenMetadataLoadsBackWhole) {
    ProblemReportSpec wanted{"prb-7", BundlePriority::high, {}, {CollectionFlag::include_historic}};
    wanted.triggers.push_back(CrashTrigger{1234, "mediad"});
    wanted.triggers.push_back(DevCrashTrigger{"/dev/video0", "vpu"});
    wanted.triggers.push_back(UserRequest{"no sound"});
    wanted.triggers.push_back(CloudRequest{{{"job", "42"}}});
    wanted.triggers.push_back(DeveloperRequest{{{"debug", true}}});
    auto report = std::make_shared<ProblemReport>(std::move(wanted));
    report->record_event("collected", "all logs");
    write_text(bundle_path(), "bundle bytes");
    ProblemReportBundleImpl original(report, bundle_path(), create_default_copy_strategy());
    original.write_metadata_to_disk(false);
    EXPECT_THROW(original.write_metadata_to_disk(false), std::runtime_error);

    const auto loaded = load_bundle(bundle_path());
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(loaded->get_data(false), original.get_data(false));
    EXPECT_EQ(loaded->get_data(false)["bundle"]["size"], 12);
    const auto& copy = *loaded->get_problem_report();
    EXPECT_TRUE(copy.has_crashes() && copy.has_device_crashes() && copy.has_user_requests() &&
                copy.has_cloud_requests() && copy.has_developer_requests());
}

}  // namespace
}  // namespace vanta::testing
