#include "api/vantaapi_impl.h"

#include "api/service_constants.h"
#include "pubsub/publisher_factory.h"
#include "pubsub/subscription_event_handler_factory.h"
#include "rpc/server/grpc_server_sync_subscriber.h"
#include "runtime/logging/loggers.h"
#include "runtime/tracing/grpc_tracing.h"

// Client factories: call control.
#include "clients/calling/calling_client.h"

// Client factories: audio, ringer, reset, system, screen, HDMI input, 802.1X,
// upgrades and features.
#include "clients/featuremanager/featuremanager_client.h"
#include "clients/hdmirx/hdmirx_client.h"
#include "clients/ieee8021x/ieee8021x_client.h"
#include "clients/reset/reset_client.h"
#include "clients/ringer/ringer_client.h"
#include "clients/screensetting/screensetting_client.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "clients/upgrademanager/upgrademanager_client.h"
#include "clients/volumemgr/volumemgr_client.h"

// Client factories: network, Wi-Fi, access point, configuration, on-premises,
// cloud configuration, ultrasound, avatar and media session.

// Platform, problem reports and tones.
#include "audio/tone_player.h"
#include "clients/problemreporter/problemreporter_client.h"
#include "clients/problemreportstatus/problemreportstatus_client.h"

namespace vanta {

namespace {
const std::string kApiClientName = "VantaApi";
const std::string kWakeUpTopic = "UXWakeUpEvent";
const std::string kStandbyTopic = "UXStandbyEvent";
const std::string kStandbyData = "MANAUL_STANDBY";
}  // namespace

VantaApiImpl::VantaApiImpl(Executor& executor) : VantaApiImpl(executor, device_endpoints()) {}

VantaApiImpl::VantaApiImpl(Executor& executor, const EndpointCatalogue& endpoints)
    : endpoints_(endpoints),
      subscriber_(pubsub::create_subscription_event_handler(kApiClientName, endpoints.subservice)),
      publisher_(pubsub::create_publisher_client("", endpoints.pubservice)),
      logger_(logging::getLogger("VantaApi")),
      executor_(executor),
      tracer_(tracing::create_tracer()),
      upgrade_manager_plugin_(event_publisher_, *this),
      user_detection_plugin_(event_publisher_, *this),
      pairing_plugin_(event_publisher_, *this, endpoints.nimboultrasound),
      calendar_plugin_(executor, event_publisher_, *this, endpoints.calendar),
      meeting_plugin_(executor, event_publisher_, *this, endpoints.callproxy),
      wifi_plugin_(event_publisher_, *this),
      network_status_plugin_(event_publisher_, *this),
      nimbo_room_control_plugin_(event_publisher_, *this, endpoints.nimboroomcontrol),
      nimbo_status_reporter_plugin_(executor, event_publisher_, *this,
                                    endpoints.nimbostatusreporter),
      configuration_plugin_(executor, event_publisher_, *this, endpoints.configmanager),
      crash_report_plugin_(event_publisher_, *this),
      feature_toggle_plugin_(event_publisher_, *this),
      image_upgrade_plugin_(event_publisher_, *this),
      image_download_plugin_(event_publisher_, *this),
      on_prem_upgrade_plugin_(event_publisher_, *this),
      upgrade_info_plugin_(event_publisher_, *this),
      ui_mute_plugin_(event_publisher_, *this),
      ui_server_mute_plugin_(event_publisher_, *this),
      video_signage_plugin_(event_publisher_, *this),
      ui_volume_plugin_(event_publisher_, *this),
      ui_audio_path_plugin_(event_publisher_, *this),
      content_share_plugin_(event_publisher_, *this),
      ap_mode_event_plugin_(event_publisher_, *this),
      ap_mode_client_event_plugin_(event_publisher_, *this),
      service_plugin_(event_publisher_, *this),
      system_controller_plugin_(executor, event_publisher_, *this, endpoints.systemcontroller),
      avatar_plugin_(executor, event_publisher_, *this, endpoints.avatar),
      system_device_plugin_(event_publisher_, *this),
      share_available_plugin_(event_publisher_, *this),
      proxy_config_event_plugin_(event_publisher_, *this),
      account_manager_plugin_(executor, event_publisher_, *this, endpoints.account_manager),
      krell_config_manager_plugin_(event_publisher_, *this),
      nimbo_branding_plugin_(executor, event_publisher_, *this, endpoints.nimbobranding),
      krell_security_plugin_(event_publisher_, *this),
      call_history_plugin_(executor, event_publisher_, *this),
      share_governor_plugin_(executor, event_publisher_, *this, endpoints.share_governor),
      certificate_manager_plugin_(event_publisher_, *this, endpoints.certificatemanager,
                                  endpoints.ieee8021x),
      phonebook_plugin_(event_publisher_, *this, endpoints.phonebook),
      ieee8021x_plugin_(event_publisher_, *this),
      hdmi_rx_plugin_(event_publisher_, *this),
      nfc_plugin_(executor, event_publisher_, *this, endpoints.nfc),
      camera_plugin_(executor, event_publisher_, *this),
      bluetooth_plugin_(executor, event_publisher_, *this),
      // Backend clients, in the order of their declaration.
      // (1) reset
      reset_client_(create_reset_client(endpoints.reset)),

      // (2) call control
      callproxy_client_(callproxy::create_client(executor, endpoints.callproxy)),

      // (3) network status reporter, (4) network manager
      networkstatusreporter_client_(
          networkstatusreporter::create_client(executor, endpoints.networkstatusreporter)),
      networkmanager_client_(create_networkmanager_client(endpoints.networkmanager)),

      // (5) volume manager, (6) feature manager
      volumemgr_client_(create_volumemgr_client(endpoints.volumemgr)),
      featuremanager_client_(create_featuremanager_client(endpoints.featuremanager)),

      // (7) problem reporter, (8) problem-report status
      problemreporter_client_(create_problemreporter_client(endpoints.problemreporter)),
      problemreportstatus_client_(create_problemreportstatus_client(endpoints.problemreportstatus)),

      // (9) Wi-Fi, (10) ultrasound
      wifi_client_(wifi::create_wifi_service_client(endpoints.wifi)),
      nimboultrasound_client_(create_nimbo_ultrasound_client(endpoints.nimboultrasound)),

      // (11) upgrade manager, (12) avatar
      upgrademanager_client_(
          upgrademanager::create_upgrademanager_client(endpoints.upgrademanager)),
      avatar_client_(avatar::create_avatar_client(executor, endpoints.avatar)),

      // (13) access point, (14) 802.1X, (15) system controller
      accesspoint_client_(create_ap_service_client(endpoints.accesspoint)),
      ieee8021x_client_(create_ieee8021x_service_client(endpoints.ieee8021x)),
      systemcontroller_client_(
          systemcontroller::create_client(executor, endpoints.systemcontroller)),

      // (16) on-premises security, (17) screen settings
      krellsecurity_client_(krellsecurity::create_krell_security_client(endpoints.krellsecurity)),
      screensetting_client_(screensetting::create_screensetting_client(endpoints.screensetting)),

      // (18) configuration manager, (19) on-premises configuration, (20) cloud
      // configuration
      configmanager_client_(configmanager::create_client(executor, endpoints.configmanager)),
      krellconfigmanager_client_(
          krellconfigmanager::create_client(executor, endpoints.krellconfigmanager)),
      nimboconfigmanager_client_(
          create_nimboconfigmanager_client(executor, endpoints.nimboconfigmanager)),

      // (21) HDMI input, (22) ringer
      hdmirx_client_(create_hdmirx_client(endpoints.hdmirx)),
      ringer_client_(ringer::create_client(endpoints.ringer)),

      // (23) media session
      mediasession_client_(create_mediasession_client(std::ref(executor), endpoints.mediasession)) {
    std::weak_ptr<bool> alive = alive_;
    executor_.add_work(
        [this, alive] {
            if (alive.lock()) {
                start_subscriptions();
            }
        },
        0, "start_subscriptions");
    // The network manager tells its callers apart by the caller label.
    networkmanager_client_->set_caller("vantaapi");

    // The tone player is process-wide: created here, ahead of the first tone,
    // and not held by the service.
    audio::get_tone_player(false, endpoints_);
}

VantaApiImpl::~VantaApiImpl() {
    *alive_ = false;
    alive_.reset();
    // Bus messages reach the plugins on the subscriber's thread: stop it while
    // the plugins still exist.
    subscriber_->stop();
}

void VantaApiImpl::register_event_handler(
    const std::string& topic, std::function<void(const pubsub::PubSubMessage&)> handler) {
    handlers_.emplace(topic, std::move(handler));
}

void VantaApiImpl::start_subscriptions() {
    // While the bus refuses, try again after kPubSubWait. The retry is queued
    // rather than slept on, so the main thread keeps running other work (and
    // notices a termination request) while the bus is down.
    if (!subscriber_->subscribe(kPubSubEventTopics)) {
        std::weak_ptr<bool> alive = alive_;
        executor_.schedule_work(
            [this, alive] {
                if (alive.lock()) {
                    start_subscriptions();
                }
            },
            kPubSubWait);
        return;
    }
    subscriber_->start(
        [this](const pubsub::PubSubMessage& message) { receive_subscription_event(message); });
}

void VantaApiImpl::receive_subscription_event(const pubsub::PubSubMessage& message) {
    const std::string& topic = message.msg().topic();
    const auto handler = handlers_.find(topic);
    if (handler == handlers_.end()) {
        logger_.warning("Unhandled Event {}", topic);
        return;
    }
    handler->second(message);
}

std::unique_ptr<tracing::Span> VantaApiImpl::start_handler_span(grpc::ServerContext* context,
                                                                const char* operation) {
    return tracer_->start_span(
        std::string("VantaApiServer::") + operation,
        tracing::StartSpanOptions(tracing::kChildOf, grpctracing::get_span_context(context)));
}

void VantaApiImpl::end_streams() {
    std::lock_guard<std::mutex> lock(streams_mutex_);
    streams_ended_ = true;
    for (grpc::ServerContext* context : open_streams_) {
        context->TryCancel();
    }
}

grpc::Status VantaApiImpl::Subscribe(
    grpc::ServerContext* context,
    grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream) {
    {
        std::lock_guard<std::mutex> lock(streams_mutex_);
        if (streams_ended_) {
            context->TryCancel();
        }
        open_streams_.insert(context);
    }
    struct Forget {
        VantaApiImpl& service;
        grpc::ServerContext* context;
        ~Forget() {
            std::lock_guard<std::mutex> lock(service.streams_mutex_);
            service.open_streams_.erase(context);
        }
    } forget{*this, context};
    GrpcServerSyncSubscriber<vantaapi::VantaEvent, vantaapi::SubscriptionRequest> writer(stream);
    event_publisher_.add(&writer);
    // Detaches the writer however the stream ends, before it is destroyed.
    struct Detach {
        GrpcServerPublisher<vantaapi::VantaEvent>& publisher;
        GrpcServerWriter<vantaapi::VantaEvent>* writer;
        ~Detach() { publisher.remove(writer); }
    } detach{event_publisher_, &writer};

    vantaapi::VantaEvent started;
    started.mutable_subscription_status()->set_status(
        vantaapi::VantaApiSubscriptionStatus::STREAM_STARTED);
    writer.send(started);
    writer.process_queue(
        [](const vantaapi::SubscriptionRequest& request) { return request.unsubscribe(); });
    return grpc::Status::OK;
}

grpc::Status VantaApiImpl::UXWakeUp(grpc::ServerContext* context,
                                    const vantaapi::UXWakeUpRequest* request,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "UXWakeUp", [&] {
        const auto trigger = request->trigger();
        if (trigger == vantaapi::UXWakeUpRequest::BUTTON ||
            trigger == vantaapi::UXWakeUpRequest::TOUCH_SCREEN) {
            pubsub::PubSubMessage message;
            message.msg().set_topic(kWakeUpTopic);
            message.msg().set_data(trigger == vantaapi::UXWakeUpRequest::BUTTON ? "BUTTON"
                                                                                : "TOUCH_SCREEN");
            message.msg().set_event(static_cast<int>(trigger));
            publisher_->Publish(message);
        }
        response->set_success(true);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::UXStandby(grpc::ServerContext* context,
                                     const google::protobuf::Empty* /*request*/,
                                     google::protobuf::Empty* /*response*/) {
    return serve(context, "UXStandby", [&] {
        pubsub::PubSubMessage message;
        message.msg().set_topic(kStandbyTopic);
        message.msg().set_data(kStandbyData);
        publisher_->Publish(message);
        return grpc::Status::OK;
    });
}

}  // namespace vanta
