#include "simulated_backends.h"

#include <stdexcept>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>

#include "sim/accesspoint_backend.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/calling_backend.h"
#include "sim/configmanager_backend.h"
#include "sim/featuremanager_backend.h"
#include "sim/hdmirx_backend.h"
#include "sim/ieee8021x_backend.h"
#include "sim/krellconfigmanager_backend.h"
#include "sim/krellsecurity_backend.h"
#include "sim/media_backend.h"
#include "sim/mediasession_backend.h"
#include "sim/networkmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nimboconfigmanager_backend.h"
#include "sim/nimboultrasound_backend.h"
#include "sim/problemreporter_backend.h"
#include "sim/problemreportstatus_backend.h"
#include "sim/reset_backend.h"
#include "sim/ringer_backend.h"
#include "sim/screensetting_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/upgrademanager_backend.h"
#include "sim/volumemgr_backend.h"
#include "sim/wifi_backend.h"

namespace vanta::simulator {

namespace {

using google::protobuf::Message;

// Every operation of `service` whose answer has a boolean `success` answers
// it true: an idle device carries out what it is asked.
template <typename Answer>
void succeed_everywhere(const std::string& service_name, Answer&& answer) {
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(service_name);
    if (service == nullptr) {
        throw std::logic_error("no backend schema named " + service_name);
    }
    for (int i = 0; i < service->method_count(); ++i) {
        const auto* method = service->method(i);
        const auto* success = method->output_type()->FindFieldByName("success");
        if (success == nullptr || success->type() != google::protobuf::FieldDescriptor::TYPE_BOOL ||
            success->is_repeated()) {
            continue;
        }
        std::unique_ptr<Message> reply(google::protobuf::MessageFactory::generated_factory()
                                           ->GetPrototype(method->output_type())
                                           ->New());
        reply->GetReflection()->SetBool(reply.get(), success, true);
        answer(method->name(), *reply);
    }
}

// The answer of `operation` of `service_name`, from its text form.
std::unique_ptr<Message> reply_of(const std::string& service_name, const std::string& operation,
                                  const std::string& text) {
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(service_name);
    const auto* method = service == nullptr ? nullptr : service->FindMethodByName(operation);
    if (method == nullptr) {
        throw std::logic_error("no operation " + service_name + "." + operation);
    }
    std::unique_ptr<Message> reply(google::protobuf::MessageFactory::generated_factory()
                                       ->GetPrototype(method->output_type())
                                       ->New());
    if (!google::protobuf::TextFormat::ParseFromString(text, reply.get())) {
        throw std::logic_error("not a reply of " + operation + ": " + text);
    }
    return reply;
}

}  // namespace

struct SimulatedBackends::Servers {
    sim::CallingBackend calling;
    sim::VolumeMgrBackend volume;
    sim::ResetBackend reset;
    sim::FeatureManagerBackend features;
    sim::UpgradeManagerBackend upgrades;
    sim::Ieee8021xBackend ieee8021x;
    sim::SystemControllerBackend system;
    sim::ScreenSettingBackend screen;
    sim::HdmiRxBackend hdmi;
    sim::RingerBackend ringer;
    sim::NetworkStatusReporterBackend network_status;
    sim::NetworkManagerBackend network;
    sim::WifiBackend wifi;
    sim::NimboUltrasoundBackend ultrasound;
    sim::AvatarBackend avatar;
    sim::AccessPointBackend access_point;
    sim::KrellSecurityBackend krell_security;
    sim::ConfigManagerBackend configuration;
    sim::KrellConfigManagerBackend krell_configuration;
    sim::NimboConfigManagerBackend cloud_configuration;
    sim::MediaSessionBackend media_session;
    sim::MediaBackend media;
    sim::ProblemReporterBackend problem_reporter;
    sim::ProblemReportStatusBackend problem_report_status;

    std::vector<std::string> names;
    std::vector<std::unique_ptr<sim::BackendServer>> servers;

    void serve(const std::string& socket, grpc::Service& service) {
        servers.push_back(std::make_unique<sim::BackendServer>(
            "unix:/tmp/" + socket, std::initializer_list<grpc::Service*>{&service}));
        names.push_back("/tmp/" + socket);
    }
    // `answers`: operation and reply text of the operations whose defaults
    // would not look like a device.
    template <typename Backend>
    void serve_scripted(const std::string& socket, const std::string& service_name,
                        Backend& backend,
                        const std::vector<std::pair<std::string, std::string>>& answers = {}) {
        succeed_everywhere(service_name, [&](const std::string& operation, const Message& reply) {
            backend.reply(operation, reply);
        });
        for (const auto& [operation, text] : answers) {
            backend.reply(operation, *reply_of(service_name, operation, text));
        }
        serve(socket, backend);
    }
};

SimulatedBackends::SimulatedBackends() : servers_(std::make_unique<Servers>()) {
    Servers& s = *servers_;
    succeed_everywhere("vanta.calling.Calling",
                       [&](const std::string& operation, const Message& reply) {
                           s.calling.answer(operation, reply);
                       });
    s.calling.answer("StartMeeting",
                     *reply_of("vanta.calling.Calling", "StartMeeting", "meeting_id: 1"));
    s.serve("callproxy", s.calling);
    s.serve_scripted("volumemgr_service", "vanta.volumemgr.VolumeMgr", s.volume,
                     {{"GetCurrentVolume", "volume: 50"}});
    s.serve_scripted("reset_service", "vanta.reset.Reset", s.reset);
    s.serve_scripted("featuremanager_service", "vanta.featuremanager.FeatureManager", s.features);
    s.serve_scripted("upgrademanager_service", "vanta.upgrademanager.UpgradeManager", s.upgrades,
                     {{"GetVersionInfo", "version: '0.1.0-simulated'"}});
    s.serve_scripted("ieee8021x_service", "vanta.ieee8021x.Ieee8021x", s.ieee8021x);
    s.serve_scripted("systemcontroller_service", "vanta.systemcontroller.SystemController",
                     s.system, {{"GetState", "state: AWAKE"}});
    s.serve_scripted("screensetting_service", "vanta.screensetting.ScreenSetting", s.screen);
    s.serve_scripted("hdmirx_stub", "vanta.hdmirx.HdmiRx", s.hdmi);
    s.serve_scripted("ringer", "vanta.ringer.Ringer", s.ringer);
    s.serve_scripted("network_status_reporter", "vanta.networkstatusreporter.NetworkStatusReporter",
                     s.network_status);
    s.serve_scripted("networkmanager_service", "vanta.networkmanager.NetworkManager", s.network);
    s.serve_scripted("wifi_service", "vanta.wifi.Wifi", s.wifi);
    s.serve_scripted("nimboultrasound_service", "vanta.nimboultrasound.NimboUltraSoundSvc",
                     s.ultrasound);
    s.serve_scripted("avatar_service", "vanta.avatar.Avatar", s.avatar);
    s.serve_scripted("ap_service", "vanta.accesspoint.AccessPoint", s.access_point);
    s.serve_scripted("krellsecurity_service", "vanta.krellsecurity.KrellSecurity",
                     s.krell_security);
    s.serve_scripted("configmanager", "vanta.configmanager.Configuration", s.configuration);
    s.serve_scripted("krellconfigmanager", "vanta.krellconfigmanager.KrellConfigManager",
                     s.krell_configuration);
    s.serve_scripted("nimboconfigmanager_service", "vanta.nimboconfigmanager.Configuration",
                     s.cloud_configuration);
    s.serve_scripted("mediasession_service", "vanta.mediasession.MediaSession", s.media_session);
    s.serve("media_service", s.media);
    s.serve("problemreporter_service", s.problem_reporter);
    s.serve("problemreportstatus_service", s.problem_report_status);
}

SimulatedBackends::~SimulatedBackends() = default;

std::vector<std::string> SimulatedBackends::names() const {
    return servers_->names;
}

}  // namespace vanta::simulator
