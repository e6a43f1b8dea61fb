#include "plugins/avatar_plugin.h"

namespace vanta {

AvatarPlugin::AvatarPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar&, const Endpoint& avatar)
    : publisher_(publisher), client_(avatar::create_avatar_client(executor, avatar)) {
    client_->SetObserver([this](const avatar::Event& event) { send_avatar_info(event); }, [] {});
}

void AvatarPlugin::send_avatar_info(const avatar::Event& event) {
    if (!event.has_avatar_info()) {
        return;
    }
    const avatar::AvatarInfo& from = event.avatar_info();
    vantaapi::VantaEvent published;
    vantaapi::AvatarInfoEvent& to = *published.mutable_new_avatar_info_event();
    to.set_success(from.success());
    to.set_uuid(from.uuid());
    to.set_size(from.size());
    to.set_path(from.path());
    to.set_expiration(from.expiration());
    publisher_.publish(published);
}

}  // namespace vanta
