#include "plugins/share_available_plugin.h"

#include <stdexcept>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

constexpr char kTopic[] = "ShareAvailableEvent";

// The call control's participant statuses and types are numbered like the
// API's; numbers the API does not know become its "unknown" member.
vantaapi::Participant::ParticipantStatus to_participant_status(int status) {
    return vantaapi::Participant::ParticipantStatus_IsValid(status)
               ? static_cast<vantaapi::Participant::ParticipantStatus>(status)
               : vantaapi::Participant::STATUS_UNKNOWN;
}

vantaapi::Participant::ParticipantType to_participant_type(int type) {
    return vantaapi::Participant::ParticipantType_IsValid(type)
               ? static_cast<vantaapi::Participant::ParticipantType>(type)
               : vantaapi::Participant::TYPE_UNKNOWN;
}

}  // namespace

ShareAvailablePlugin::ShareAvailablePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                           PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ShareAvailablePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() != 1) {
        return;
    }
    logger_.info("Incoming {} event", message.msg().topic());
    vanta::calling::ShareAvailable share;
    if (!message.msg().message_data().UnpackTo(&share)) {
        throw std::runtime_error("ShareAvailable: Failed to unpack calling sharing available data");
    }
    update_share_available(share);
}

void ShareAvailablePlugin::update_share_available(const vanta::calling::ShareAvailable& share) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_new_share_available();
    payload->set_is_local_share(share.is_local_share());
    const auto& source = share.sharing_participant();
    auto* participant = payload->mutable_sharing_participant();
    participant->set_uuid(source.uuid());
    participant->set_name(source.name());
    participant->set_status(to_participant_status(source.status()));
    participant->set_type(to_participant_type(source.type()));
    publisher_.publish(event);
}

}  // namespace vanta
