// The problem reporter and problem-report status clients against fakes: the
// uploads that run on after the call and the reports the daemon builds itself.
// What the API asks of them is seen through the API (api/handler_cases_test.cc).

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/problemreporter/problemreporter_client_impl.h"
#include "clients/problemreportstatus/problemreportstatus_client_impl.h"
#include "problemreport/bundle_copy_strategy.h"
#include "problemreport/problem_report_bundle_impl.h"
#include "served_backend.h"
#include "sim/problemreporter_backend.h"
#include "sim/problemreportstatus_backend.h"
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using namespace problemreport;
using ::testing::ElementsAre;

class ProblemReporterClientTest : public ::testing::Test {
  protected:
    Served<sim::ProblemReporterBackend> served_{device_endpoints().problemreporter};
    sim::ProblemReporterBackend& reporter_ = served_.backend;
    std::unique_ptr<ProblemReporterClientImpl> client_ =
        std::make_unique<ProblemReporterClientImpl>(served_.endpoint);
};

TEST_F(ProblemReporterClientTest, AnUploadRunsOnAfterTheCallUntilTheClientGoes) {
    reporter_.hold_uploads();
    const auto upload = client_->user_problem_report("no video", problemreporter::LOCAL_DISK,
                                                     {"include_historic", "include_collectd"});
    ASSERT_TRUE(reporter_.wait_for_uploads(1));
    EXPECT_NE(upload.wait_for(0s), std::future_status::ready);
    reporter_.release_uploads();
    ASSERT_EQ(upload.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(upload.get());

    reporter_.hold_uploads();
    const auto stuck = client_->user_problem_report("stuck", problemreporter::CLOUD, {});
    ASSERT_TRUE(reporter_.wait_for_uploads(2));
    client_.reset();
    // The client is gone, so the upload has finished: cancelled, hence false.
    ASSERT_EQ(stuck.wait_for(0s), std::future_status::ready);
    EXPECT_FALSE(stuck.get());
}

TEST_F(ProblemReporterClientTest, EachKindOfReportBuildsItsRequest) {
    std::vector<ProblemReporterClient::Upload> uploads = {
        client_->developer_problem_report({"include_developer_debug"}, "{\"a\":1}", "{}"),
        client_->cloud_problem_report("{\"job\":7}"),
        client_->crash_problem_report("12", "mediad", "core.12", "/crashlog/12.txt"),
        client_->device_crash_problem_report("/dev/video0", "vpu.dump", "vpu"),
    };
    for (const auto& upload : uploads) {
        EXPECT_TRUE(upload.get());
    }
    auto requests = reporter_.uploads();
    ASSERT_EQ(requests.size(), 4u);
    // The uploads run concurrently: find each by its kind.
    std::sort(requests.begin(), requests.end(),
              [](const auto& a, const auto& b) { return a.requests_case() < b.requests_case(); });
    EXPECT_EQ(requests[0].cloud().metadata(), "{\"job\":7}");
    EXPECT_EQ(requests[0].destination_type(), problemreporter::CLOUD);
    EXPECT_EQ(requests[1].crash().process_name(), "mediad");
    EXPECT_EQ(requests[1].crash().stack_trace_path(), "/crashlog/12.txt");
    EXPECT_EQ(requests[2].dev_crash().driver_name(), "vpu");
    EXPECT_EQ(requests[3].developer().debug_json(), "{\"a\":1}");
    EXPECT_THAT(requests[3].collection_flags(), ElementsAre("include_developer_debug"));
}

TEST_F(ProblemReporterClientTest, FailedUploadYieldsFalseAndFinishedOnesAreDropped) {
    ConsoleCapture console;
    reporter_.fail_uploads(grpc::Status(grpc::StatusCode::INTERNAL, "disk full"));
    const auto first = client_->cloud_problem_report("{}");
    EXPECT_FALSE(first.get());
    reporter_.answer_uploads(false);
    reporter_.fail_uploads(grpc::Status::OK);
    EXPECT_FALSE(client_->cloud_problem_report("{}").get());
    // The finished uploads no longer count as pending.
    reporter_.hold_uploads();
    const auto held = client_->cloud_problem_report("{}");
    client_->cloud_problem_report("{}");
    reporter_.release_uploads();
    EXPECT_TRUE(held.valid());
    EXPECT_EQ(console.count("Pending requests: 0"), 3u);
    EXPECT_EQ(console.count("Pending requests: 1"), 1u);
}

TEST(ProblemReportStatusClient, TrackingSendsSourcesEventsAndName) {
    Served<sim::ProblemReportStatusBackend> status(device_endpoints().problemreportstatus);
    ProblemReportStatusClientImpl client(status.endpoint);
    auto report = std::make_shared<ProblemReport>(
        ProblemReportSpec{"prb-2",
                          BundlePriority::high,
                          {CrashTrigger{1, "a"}, DevCrashTrigger{"/dev/x", "d"},
                           UserRequest{"frozen screen"}, CloudRequest{}, DeveloperRequest{}},
                          {}});
    report->record_event("collected", "12 files");
    ProblemReportBundleImpl bundle(report, status.dir.path().string() + "/prb-2.tar.gz",
                                   create_default_copy_strategy());
    client.TrackProblemReportProgress(bundle);
    const auto tracked = status.backend.tracked();
    ASSERT_EQ(tracked.size(), 1u);
    EXPECT_EQ(tracked[0].problemreport_id(), "prb-2");
    EXPECT_THAT(tracked[0].sources(),
                ElementsAre("Crash", "Dev Crash", "User", "Cloud", "Developer"));
    EXPECT_EQ(tracked[0].bundle_name(), "prb-2.tar.gz");
    EXPECT_EQ(tracked[0].description(), "frozen screen");
    ASSERT_EQ(tracked[0].events_size(), 1);
    EXPECT_EQ(tracked[0].events(0).event_message(), "12 files");
    EXPECT_EQ(tracked[0].events(0).timepoint(),
              report->get_recorded_events()[0].get_time_since_epoch_in_ms());

    const ProblemReportEvent event("uploaded", "to cloud", EventTime(std::chrono::seconds(5)));
    client.UpdateProblemReportProgress("prb-2", event);
    const auto updates = status.backend.updates();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].problemreport_id(), "prb-2");
    EXPECT_EQ(updates[0].event().name(), "uploaded");
    EXPECT_EQ(updates[0].event().timepoint(), 5000);
}

}  // namespace
}  // namespace vanta::testing
