#include "audio/tone_player_impl.h"

#include <exception>
#include <filesystem>

#include "platform/platform_info.h"
#include "runtime/logging/loggers.h"

namespace vanta::audio {

namespace {

std::string tone_file_name(ToneType type) {
    switch (type) {
        case TONE_CLICK:
            return "click.wav";
        case TONE_VOLUME_ADJUST:
            return "volume.wav";
        case TONE_RINGBACK:
            return "ringback.wav";
        default:
            return "";
    }
}

}  // namespace

ToneSettings platform_tone_settings() {
    return {platform::get_chime_file_path(), platform::get_platform_name(),
            platform::is_audio_feedback_needed()};
}

TonePlayerImpl::TonePlayerImpl(bool ringer, std::unique_ptr<media::MediaServiceClient> media,
                               std::unique_ptr<CurrentVolumeReader> volume, ToneSettings settings)
    : client_id_(ringer ? media::RINGER_CLIENT : media::CHIME_CLIENT),
      settings_(std::move(settings)),
      logger_(logging::getLogger("TonePlayer")),
      media_(std::move(media)),
      volume_(std::move(volume)) {
    std::lock_guard<std::mutex> lock(mutex_);
    media_call([&] { return media_->CleanupMediaResources(client_id_); }, false);
    resources_connected_ = setup_media_resources();
}

TonePlayerImpl::~TonePlayerImpl() {
    std::lock_guard<std::mutex> lock(mutex_);
    release_media_resources();
}

template <typename Call, typename Result>
Result TonePlayerImpl::media_call(Call&& call, Result failed) {
    try {
        return call();
    } catch (const std::exception& e) {
        logger_.error("{}", e.what());
        return failed;
    }
}

bool TonePlayerImpl::play_tone(ToneType type, bool in_loop) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing_in_loop_) {
        logger_.info("Ignore request to play tone {} while in playing loop", tone_name(type));
        return false;
    }
    const std::string file_name = tone_file_name(type);
    if (file_name.empty()) {
        logger_.error("Tome {} doesn't have configuration for filename", tone_name(type));
        return false;
    }
    if (settings_.chime_directory.empty()) {
        logger_.error("Device doesn't have tone files");
        return false;
    }
    const std::string path = settings_.chime_directory + "/" + file_name;
    if (settings_.platform_name != "Host" && !std::filesystem::exists(path)) {
        logger_.error("Tone file {} is missing", path);
        return false;
    }
    return play(path, tone_volume(type), in_loop);
}

bool TonePlayerImpl::play_file(const std::string& path, unsigned volume, bool in_loop) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing_in_loop_) {
        logger_.info("Ignore request to play file {} while playing in loop", path);
        return false;
    }
    return play(path, volume, in_loop);
}

bool TonePlayerImpl::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!media_call([&] { return media_->StopTone(resources_.src()); }, false)) {
        logger_.error("media service failed to stop tone play");
        return false;
    }
    playing_in_loop_ = false;
    return true;
}

bool TonePlayerImpl::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    detail::drop_tone_player(this);
    return true;
}

bool TonePlayerImpl::update_tone_volume(unsigned volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    media::ModifyToneInputRequest request;
    *request.mutable_id() = resources_.src();
    request.set_volume(volume);
    return media_call([&] { return media_->ModifyToneInput(request); }, false);
}

bool TonePlayerImpl::play(const std::string& path, unsigned volume, bool in_loop) {
    media::PlayToneRequest request;
    request.mutable_file_play()->set_filename(path);
    request.mutable_file_play()->set_play_once(!in_loop);

    // The flag stays as it is: while it is clear, every play repeats the setup.
    if (!resources_connected_ && !setup_media_resources()) {
        logger_.error("Failed to setup media resources");
        return false;
    }

    media::ModifyToneInputRequest modify;
    *modify.mutable_id() = resources_.src();
    modify.set_volume(volume);
    if (!media_call([&] { return media_->ModifyToneInput(modify); }, false)) {
        logger_.error("media service failed to update volume for file {}", path);
        return false;
    }

    *request.mutable_id() = resources_.src();
    if (!media_call([&] { return media_->PlayFile(request); }, false)) {
        logger_.error("media service failed to play file {}", path);
        return false;
    }
    playing_in_loop_ = in_loop;
    return true;
}

bool TonePlayerImpl::setup_media_resources() {
    if (resources_.src().id() == 0) {
        media::ToneInputRequest request;
        request.set_volume(kDefaultToneVolume);
        request.set_pairing(false);
        request.set_client_id(client_id_);
        const auto input =
            media_call([&] { return media_->AllocateToneInput(request); }, media::AudioResource());
        if (input.id() == 0) {
            logger_.error("Failed to allocate media resource to play tone");
            return false;
        }
        *resources_.mutable_src() = input;
    }
    if (resources_.dest().id() == 0) {
        media::AudioLocalOutputRequest request;
        request.set_device(media::INTERNAL_SPEAKER);
        request.mutable_properties()->set_volume(kDefaultToneVolume);
        request.mutable_properties()->set_audio_processing(settings_.audio_processing);
        request.set_client_id(client_id_);
        const auto output = media_call([&] { return media_->AllocateLocalAudioOutput(request); },
                                       media::AudioResource());
        if (output.id() == 0) {
            logger_.error("Failed to allocate speaker resource to play tone");
            return false;
        }
        *resources_.mutable_dest() = output;
    }
    if (!media_call([&] { return media_->AudioConnect(resources_); }, false)) {
        logger_.error("Failed to connect tone gate");
        return false;
    }
    return true;
}

void TonePlayerImpl::release_media_resources() {
    if (resources_connected_) {
        media_call([&] { return media_->AudioDisconnect(resources_); }, false);
        resources_connected_ = false;
    }
    if (resources_.dest().id() != 0) {
        media_call([&] { return media_->DeAllocateLocalAudioOutput(resources_.dest()); }, false);
        resources_.mutable_dest()->set_id(0);
    }
    if (resources_.src().id() != 0) {
        media_call([&] { return media_->DeAllocateToneInput(resources_.src()); }, false);
        resources_.mutable_src()->set_id(0);
    }
}

unsigned TonePlayerImpl::tone_volume(ToneType type) {
    if (type != TONE_VOLUME_ADJUST) {
        return kDefaultToneVolume;
    }
    const auto volume = volume_->GetCurrentVolume();
    if (!volume) {
        logger_.error("failed to get volume for tone {}", tone_name(type));
        return kDefaultToneVolume;
    }
    logger_.info("call volume is {}", *volume);
    return *volume;
}

}  // namespace vanta::audio
