#include "simulated_backends.h"

#include <stdexcept>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>

#include "fakes/fake_accesspoint.h"
#include "fakes/fake_avatar.h"
#include "fakes/fake_calling_service.h"
#include "fakes/fake_configmanager.h"
#include "fakes/fake_featuremanager.h"
#include "fakes/fake_hdmirx.h"
#include "fakes/fake_ieee8021x.h"
#include "fakes/fake_krellconfigmanager.h"
#include "fakes/fake_krellsecurity.h"
#include "fakes/fake_media.h"
#include "fakes/fake_mediasession.h"
#include "fakes/fake_networkmanager.h"
#include "fakes/fake_networkstatusreporter.h"
#include "fakes/fake_nimboconfigmanager.h"
#include "fakes/fake_nimboultrasound.h"
#include "fakes/fake_problemreporter.h"
#include "fakes/fake_problemreportstatus.h"
#include "fakes/fake_reset.h"
#include "fakes/fake_ringer.h"
#include "fakes/fake_screensetting.h"
#include "fakes/fake_systemcontroller.h"
#include "fakes/fake_upgrademanager.h"
#include "fakes/fake_volumemgr.h"
#include "fakes/fake_wifi.h"
#include "fakes/test_server.h"

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
    testing::FakeCallingService calling;
    testing::FakeVolumeMgr volume;
    testing::FakeReset reset;
    testing::FakeFeatureManager features;
    testing::FakeUpgradeManager upgrades;
    testing::FakeIeee8021x ieee8021x;
    testing::FakeSystemController system;
    testing::FakeScreenSetting screen;
    testing::FakeHdmiRx hdmi;
    testing::FakeRinger ringer;
    testing::FakeNetworkStatusReporter network_status;
    testing::FakeNetworkManager network;
    testing::FakeWifi wifi;
    testing::FakeNimboUltrasound ultrasound;
    testing::FakeAvatar avatar;
    testing::FakeAccessPoint access_point;
    testing::FakeKrellSecurity krell_security;
    testing::FakeConfigManager configuration;
    testing::FakeKrellConfigManager krell_configuration;
    testing::FakeNimboConfigManager cloud_configuration;
    testing::FakeMediaSession media_session;
    testing::FakeMedia media;
    testing::FakeProblemReporter problem_reporter;
    testing::FakeProblemReportStatus problem_report_status;

    std::vector<std::string> names;
    std::vector<std::unique_ptr<testing::TestServer>> servers;

    void serve(const std::string& socket, grpc::Service& service) {
        servers.push_back(std::make_unique<testing::TestServer>(
            "unix:/tmp/" + socket, std::initializer_list<grpc::Service*>{&service}));
        names.push_back("/tmp/" + socket);
    }
    // `answers`: operation and reply text of the operations whose defaults
    // would not look like a device.
    template <typename Fake>
    void serve_scripted(const std::string& socket, const std::string& service_name, Fake& fake,
                        const std::vector<std::pair<std::string, std::string>>& answers = {}) {
        succeed_everywhere(service_name, [&](const std::string& operation, const Message& reply) {
            fake.reply(operation, reply);
        });
        for (const auto& [operation, text] : answers) {
            fake.reply(operation, *reply_of(service_name, operation, text));
        }
        serve(socket, fake);
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
