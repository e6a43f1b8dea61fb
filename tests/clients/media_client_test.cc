// The media client against the fake media backend: answers copied, failures
// raised as the typed error of their code.

#include <chrono>

#include <gtest/gtest.h>

#include "clients/media/media_client.h"
#include "rpc/client/grpc_exceptions.h"
#include "sim/backend_server.h"
#include "sim/media_backend.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

class MediaClientTest : public ::testing::Test {
  protected:
    TempDir dir_;
    sim::MediaBackend media_;
    sim::BackendServer server_{dir_.socket_address("media"), {&media_}};
    std::unique_ptr<media::MediaServiceClient> client_ = media::create_media_service_client(
        endpoint_at(device_endpoints().media, dir_.socket_address("media"), 2000ms));
};

TEST_F(MediaClientTest, AnswersAreCopied) {
    media::ToneInputRequest tone;
    tone.set_volume(70);
    tone.set_client_id(media::RINGER_CLIENT);
    const auto input = client_->AllocateToneInput(tone);
    EXPECT_EQ(input.id(), 1u);
    EXPECT_TRUE(input.valid_id());
    EXPECT_EQ(client_->AllocateLocalAudioOutput({}).id(), 2u);
    EXPECT_EQ(media_.tone_inputs().at(0).client_id(), media::RINGER_CLIENT);

    media::PlayToneRequest play;
    *play.mutable_id() = input;
    play.mutable_file_play()->set_filename("/usr/share/chimes/click.wav");
    EXPECT_TRUE(client_->PlayFile(play));
    EXPECT_EQ(media_.plays().at(0).file_play().filename(), "/usr/share/chimes/click.wav");
    EXPECT_EQ(media_.plays().at(0).id().id(), 1u);
    EXPECT_TRUE(client_->CleanupMediaResources(media::CHIME_CLIENT));
    EXPECT_EQ(media_.cleaned_up().at(0), media::CHIME_CLIENT);
}

TEST_F(MediaClientTest, FailuresRaiseTheTypedError) {
    media_.fail("PlayTone", grpc::Status(grpc::StatusCode::INTERNAL, "decoder"));
    try {
        client_->PlayFile({});
        FAIL() << "no exception";
    } catch (const ServiceInternalError& e) {
        EXPECT_STREQ(e.what(), "MediaServiceClient::PlayTone: INTERNAL - [decoder]");
    }
    media_.fail("StopTone", grpc::Status(grpc::StatusCode::UNAVAILABLE, "down"));
    EXPECT_THROW(client_->StopTone({}), ServiceUnavailableError);
}

}  // namespace
}  // namespace vanta::testing
