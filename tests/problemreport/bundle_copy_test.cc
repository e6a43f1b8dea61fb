// Copying bundles through ".partial" files.

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "problemreport/bundle_copy_strategy.h"
#include "problemreport/bundle_paths.h"
#include "problemreport/problem_report_bundle_impl.h"
#include "support/console_capture.h"
#include "support/data_files.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

namespace fs = std::filesystem;
using namespace problemreport;
using ::testing::StartsWith;
using ::testing::ThrowsMessage;

// A file system with a fixed amount of free space.
class FixedSpace final : public FileSystemManager {
  public:
    explicit FixedSpace(std::uintmax_t available) : available_(available) {}
    fs::space_info get_space_info(const std::string& path) override {
        asked.push_back(path);
        return {available_ * 2, available_, available_};
    }
    std::uintmax_t get_directory_space_usage(const std::string&) override { return 0; }
    std::vector<std::string> asked;

  private:
    std::uintmax_t available_;
};

class BundleCopyTest : public ::testing::Test {
  protected:
    BundleCopyTest() {
        fs::create_directories(source_dir_);
        fs::create_directories(target_dir_);
        write_text(source_path_, "the bundle");
        bundle_.write_metadata_to_disk(false);
    }
    std::vector<std::string> partial_files() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(target_dir_)) {
            if (entry.path().extension() == ".partial") {
                found.push_back(entry.path().string());
            }
        }
        return found;
    }

    TempDir dir_;
    fs::path source_dir_ = dir_.path() / "source";
    fs::path target_dir_ = dir_.path() / "target";
    std::string source_path_ = (source_dir_ / "prb-9.tar.gz").string();
    std::shared_ptr<ProblemReport> report_ = std::make_shared<ProblemReport>(
        ProblemReportSpec{"prb-9", BundlePriority::medium, {UserRequest{"camera"}}, {}});
    ProblemReportBundleImpl bundle_{report_, source_path_, create_default_copy_strategy()};
    ConsoleCapture console_;
};

TEST_F(BundleCopyTest, CopyCarriesBundleAndMetadataAndLeavesNoPartialFiles) {
    const auto copy = bundle_.copy_to_location(target_dir_.string(), "copy.tar.gz", false, 0);
    const fs::path target = target_dir_ / "copy.tar.gz";
    EXPECT_EQ(copy->get_bundle_path(), target.string());
    EXPECT_EQ(copy->get_problem_report(), report_);
    EXPECT_EQ(read_text(target), "the bundle");
    EXPECT_EQ(read_text(metadata_path_from_bundle_path(target.string())),
              read_text(metadata_path_from_bundle_path(source_path_)));
    EXPECT_TRUE(partial_files().empty());
    EXPECT_EQ(console_.count("Creating copy of bundle in " + target_dir_.string() +
                             " with filename copy.tar.gz"),
              1u);
}

TEST_F(BundleCopyTest, ExistingTargetIsRefusedWithoutOverwriteAndReplacedWithIt) {
    const std::string target = (target_dir_ / "copy.tar.gz").string();
    write_text(target, "old bundle");
    write_text(metadata_path_from_bundle_path(target), "old metadata");
    EXPECT_THAT([&] { bundle_.copy_to_location(target, false, 0); },
                ThrowsMessage<BundleCopyError>("Bundle already exists:" + target));
    EXPECT_EQ(read_text(target), "old bundle");

    bundle_.copy_to_location(target, true, 0);
    EXPECT_EQ(read_text(target), "the bundle");
    EXPECT_NE(read_text(metadata_path_from_bundle_path(target)), "old metadata");
    EXPECT_EQ(console_.count("Bundle already exists, overriding: " + target), 1u);
    EXPECT_EQ(console_.count("Metadata file already exists, overriding: " + target), 1u);
}

TEST_F(BundleCopyTest, TooLittleSpaceFailsEveryAttempt) {
    // 60 MB bundle, 100 MB free: a copy needs room for it twice.
    fs::resize_file(source_path_, 60 * 1000 * 1000);
    const auto space = std::make_shared<FixedSpace>(100 * 1000 * 1000);
    BundleCopyStrategyImpl strategy(space);
    const std::string target = (target_dir_ / "copy.tar.gz").string();
    EXPECT_THAT([&] { strategy.copy(bundle_, target_dir_.string(), "copy.tar.gz", false, 0); },
                ThrowsMessage<BundleCopyError>(StartsWith("Could not copy to: " + target)));
    EXPECT_EQ(space->asked.size(), 5u);
    EXPECT_EQ(space->asked.front(), target_dir_.string());
    EXPECT_EQ(console_.count("Not enough space to copy bundle."), 5u);
    EXPECT_EQ(console_.count("Final copy attempt failed."), 1u);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(partial_files().empty());
}

TEST_F(BundleCopyTest, FileSystemErrorsAreRetriedWithTheirText) {
    fs::remove(source_path_);
    BundleCopyStrategyImpl strategy(create_filesystem_manager());
    EXPECT_THROW(strategy.copy_as_partial_bundle(bundle_, (target_dir_ / "x").string(), 0),
                 BundleCopyError);
    EXPECT_EQ(console_.count(". Trying again."), 4u);
    EXPECT_EQ(console_.count("Attempt 1 of 5 failed. Copying to location failed: "), 1u);
}

TEST_F(BundleCopyTest, MissingMetadataCannotBeCopied) {
    fs::remove(metadata_path_from_bundle_path(source_path_));
    BundleCopyStrategyImpl strategy(create_filesystem_manager());
    EXPECT_THAT(
        [&] {
            strategy.copy_as_partial_metadata(bundle_, (target_dir_ / "x.metadata.json").string());
        },
        ThrowsMessage<BundleCopyError>("Cannot copy metadata as it does not exist on disk."));
    EXPECT_EQ(console_.count("Metadata file does not exist: "), 1u);
}

TEST_F(BundleCopyTest, RemoveFromDiskDeletesBothFiles) {
    bundle_.remove_from_disk();
    EXPECT_FALSE(fs::exists(source_path_));
    EXPECT_FALSE(fs::exists(metadata_path_from_bundle_path(source_path_)));
}

}  // namespace
}  // namespace vanta::testing
