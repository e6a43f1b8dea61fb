// The tone player against a fake media backend on a temporary socket, with
// tone files in a temporary chime folder.

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "audio/current_volume_reader.h"
#include "audio/tone_player.h"
#include "audio/tone_player_impl.h"
#include "sim/backend_server.h"
#include "sim/media_backend.h"
#include "support/console_capture.h"
#include "support/data_files.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

namespace fs = std::filesystem;
using audio::TonePlayerImpl;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A volume manager that answers a fixed volume.
class FixedVolume final : public audio::CurrentVolumeReader {
  public:
    explicit FixedVolume(unsigned volume) : volume_(volume) {}
    std::optional<unsigned> GetCurrentVolume() override { return volume_; }

  private:
    unsigned volume_;
};

class TonePlayerTest : public ::testing::Test {
  protected:
    TonePlayerTest() {
        fs::create_directories(chimes_);
        for (const char* file : {"click.wav", "volume.wav", "ringback.wav"}) {
            write_text(chimes_ / file, "RIFF");
        }
    }
    // A player whose volume manager is not running, unless `volume` is given.
    std::unique_ptr<TonePlayerImpl> make_player(
        std::unique_ptr<audio::CurrentVolumeReader> volume = nullptr,
        const std::string& platform = "imx") {
        if (!volume) {
            volume = audio::create_current_volume_reader(
                endpoint_at(device_endpoints().volumemgr, dir_.socket_address("volumemgr"), 500ms));
        }
        return std::make_unique<TonePlayerImpl>(
            false,
            media::create_media_service_client(
                endpoint_at(device_endpoints().media, dir_.socket_address("media"), 5000ms)),
            std::move(volume), audio::ToneSettings{chimes_.string(), platform, false});
    }

    TempDir dir_;
    fs::path chimes_ = dir_.path() / "chimes";
    sim::MediaBackend media_;
    sim::BackendServer server_{dir_.socket_address("media"), {&media_}};
    ConsoleCapture console_;
};

TEST_F(TonePlayerTest, CreationFreesOldResourcesThenAllocatesAndDestructionReleases) {
    auto player = make_player();
    EXPECT_THAT(media_.calls(), ElementsAre("CleanupMediaResources", "AllocateToneInput",
                                            "AllocateLocalAudioOutput", "AudioConnect"));
    EXPECT_THAT(media_.cleaned_up(), ElementsAre(media::CHIME_CLIENT));
    ASSERT_EQ(media_.tone_inputs().size(), 1u);
    EXPECT_EQ(media_.tone_inputs()[0].volume(), 70u);
    EXPECT_EQ(media_.tone_inputs()[0].client_id(), media::CHIME_CLIENT);
    ASSERT_EQ(media_.outputs().size(), 1u);
    EXPECT_EQ(media_.outputs()[0].device(), media::INTERNAL_SPEAKER);
    EXPECT_EQ(media_.outputs()[0].properties().volume(), 70);

    media_.clear_calls();
    player.reset();
    EXPECT_THAT(media_.calls(), ElementsAre("AudioDisconnect", "DeAllocateLocalAudioOutput",
                                            "DeAllocateToneInput"));
}

TEST_F(TonePlayerTest, LoopedToneRefusesEveryPlayUntilStopped) {
    const auto player = make_player();
    ASSERT_TRUE(player->play_tone(audio::TONE_CLICK, true));
    ASSERT_EQ(media_.plays().size(), 1u);
    EXPECT_EQ(media_.plays()[0].file_play().filename(), (chimes_ / "click.wav").string());
    EXPECT_FALSE(media_.plays()[0].file_play().play_once());
    EXPECT_NE(media_.plays()[0].id().id(), 0u);

    EXPECT_FALSE(player->play_tone(audio::TONE_RINGBACK, false));
    EXPECT_FALSE(player->play_file("/tmp/other.wav", 50, false));
    EXPECT_EQ(media_.plays().size(), 1u);
    EXPECT_EQ(console_.count("Ignore request to play tone TONE_RINGBACK while in playing loop"),
              1u);
    EXPECT_EQ(console_.count("Ignore request to play file /tmp/other.wav while playing in loop"),
              1u);

    // A stop that fails keeps the loop.
    media_.fail("StopTone", grpc::Status(grpc::StatusCode::UNAVAILABLE, "busy"));
    EXPECT_FALSE(player->stop());
    EXPECT_FALSE(player->play_tone(audio::TONE_CLICK, false));
    EXPECT_EQ(console_.count("Ignore request to play tone TONE_CLICK while in playing loop"), 1u);
    media_.fail("StopTone", grpc::Status::OK);
    EXPECT_TRUE(player->stop());

    EXPECT_TRUE(player->play_tone(audio::TONE_RINGBACK, false));
    EXPECT_TRUE(media_.plays().back().file_play().play_once());
    // A tone played once does not block the next.
    EXPECT_TRUE(player->play_tone(audio::TONE_CLICK, false));
}

TEST_F(TonePlayerTest, VolumeAdjustToneAsksTheVolumeManagerAndFallsBackTo70) {
    const auto player = make_player();
    EXPECT_TRUE(player->play_tone(audio::TONE_VOLUME_ADJUST, false));
    EXPECT_EQ(console_.count("failed to get volume for tone TONE_VOLUME_ADJUST"), 1u);
    ASSERT_EQ(media_.volumes().size(), 1u);
    EXPECT_EQ(media_.volumes()[0], 70u);

    const auto answered = make_player(std::make_unique<FixedVolume>(35));
    EXPECT_TRUE(answered->play_tone(audio::TONE_VOLUME_ADJUST, false));
    EXPECT_EQ(media_.volumes().back(), 35u);
    EXPECT_EQ(console_.count("call volume is 35"), 1u);
    // Other tones play at 70 whatever the call volume.
    EXPECT_TRUE(answered->play_tone(audio::TONE_CLICK, false));
    EXPECT_EQ(media_.volumes().back(), 70u);
}

// A tone without a file, named or there, fails before any media call; on the
// host a missing file plays all the same.
TEST_F(TonePlayerTest, ToneWithoutAFileFailsWithoutCallingMediaExceptOnTheHost) {
    fs::remove(chimes_ / "ringback.wav");
    const auto player = make_player();
    media_.clear_calls();
    EXPECT_FALSE(player->play_tone(audio::TONE_NONE, false));
    EXPECT_FALSE(player->play_tone(static_cast<audio::ToneType>(9), false));
    EXPECT_FALSE(player->play_tone(audio::TONE_RINGBACK, false));
    EXPECT_THAT(media_.calls(), IsEmpty());
    EXPECT_EQ(console_.count("Tome TONE_NONE doesn't have configuration for filename"), 1u);
    EXPECT_EQ(console_.count("Tome TONE_UNKNOWN doesn't have configuration for filename"), 1u);
    EXPECT_EQ(console_.count("Tone file " + (chimes_ / "ringback.wav").string() + " is missing"),
              1u);

    const auto host = make_player(nullptr, "Host");
    EXPECT_TRUE(host->play_tone(audio::TONE_RINGBACK, false));
}

TEST_F(TonePlayerTest, FailedSpeakerAllocationIsRetriedStepByStepOnEveryPlay) {
    media_.fail("AllocateLocalAudioOutput", grpc::Status(grpc::StatusCode::UNAVAILABLE, "no"));
    const auto player = make_player();
    EXPECT_EQ(console_.count("Failed to allocate speaker resource to play tone"), 1u);
    EXPECT_FALSE(player->play_tone(audio::TONE_CLICK, false));
    EXPECT_EQ(console_.count("Failed to setup media resources"), 1u);

    media_.fail("AllocateLocalAudioOutput", grpc::Status::OK);
    media_.clear_calls();
    EXPECT_TRUE(player->play_tone(audio::TONE_CLICK, false));
    // The tone input is still held: only the missing steps run.
    EXPECT_THAT(media_.calls(), ElementsAre("AllocateLocalAudioOutput", "AudioConnect",
                                            "ModifyToneInput", "PlayTone"));
    // The connection made by a play is not remembered: the next play connects again.
    media_.clear_calls();
    EXPECT_TRUE(player->play_tone(audio::TONE_CLICK, false));
    EXPECT_THAT(media_.calls(), ElementsAre("AudioConnect", "ModifyToneInput", "PlayTone"));
}

TEST_F(TonePlayerTest, VolumeOfTheToneInputCanBeChanged) {
    const auto player = make_player();
    EXPECT_TRUE(player->update_tone_volume(12));
    EXPECT_EQ(media_.volumes().back(), 12u);
    media_.fail("ModifyToneInput", grpc::Status(grpc::StatusCode::INTERNAL, "x"));
    EXPECT_FALSE(player->update_tone_volume(13));
    EXPECT_FALSE(player->play_file("/tmp/x.wav", 40, false));
    EXPECT_EQ(console_.count("media service failed to update volume for file /tmp/x.wav"), 1u);
}

// The process-wide player: later callers get the same one whatever identity
// they ask for, and after a reset the next caller creates a fresh one.
TEST_F(TonePlayerTest, ProcessWidePlayerIsSharedUntilReset) {
    EndpointCatalogue endpoints = device_endpoints();
    endpoints.media = endpoint_at(endpoints.media, dir_.socket_address("media"), 5000ms);
    endpoints.volumemgr = endpoint_at(endpoints.volumemgr, dir_.socket_address("volumemgr"), 500ms);
    const auto first = audio::get_tone_player(true, endpoints);
    EXPECT_EQ(audio::get_tone_player(false, endpoints), first);
    EXPECT_EQ(console_.count("Creating Tone Player"), 1u);

    EXPECT_TRUE(first->reset());
    const auto second = audio::get_tone_player(false, endpoints);
    EXPECT_NE(second, first);
    EXPECT_EQ(audio::get_tone_player(false, endpoints), second);
    EXPECT_EQ(console_.count("Creating Tone Player"), 2u);
    // Released while the fake media backend still answers.
    second->reset();
}

}  // namespace
}  // namespace vanta::testing
