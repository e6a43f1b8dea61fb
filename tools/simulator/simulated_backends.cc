#include "simulated_backends.h"

#include <algorithm>
#include <stdexcept>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>

#include "sim/accesspoint_backend.h"
#include "sim/accountmanager_backend.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/calendar_backend.h"
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
#include "sim/simulator_control_service.h"
#include "sim/switchable_backend.h"
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

std::string socket_path(const Endpoint& row) {
    const std::string prefix = "unix:";
    return row.address.rfind(prefix, 0) == 0 ? row.address.substr(prefix.size()) : row.address;
}

struct SimulatedBackends::Servers {
    sim::CallingBackend calling;
    sim::CalendarBackend calendar;
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
    sim::AccountManagerBackend accounts;

    std::vector<std::string> names;
    std::vector<std::unique_ptr<sim::SwitchableBackend>> servers;
    // Declared after the servers that it switches.
    std::unique_ptr<sim::SimulatorControlService> control;
    std::unique_ptr<sim::BackendServer> control_server;

    // Served once every backend is in place: see start().
    void serve(const Endpoint& row, grpc::Service& service) {
        servers.push_back(
            std::make_unique<sim::SwitchableBackend>(socket_name(row), row.address, service));
        names.push_back(socket_path(row));
    }
    // Starts every backend but those named in `options.without`, then the
    // control.
    void start(const SimulatorOptions& options) {
        std::vector<sim::SwitchableBackend*> switchable;
        for (const auto& server : servers) {
            switchable.push_back(server.get());
        }
        auto on_change = [listener = options.on_change](const simcontrol::BackendStatus& status) {
            if (listener) {
                listener(status.name(), status.state());
            }
        };
        control = std::make_unique<sim::SimulatorControlService>(switchable, on_change);
        std::vector<sim::SwitchableBackend*> absent;
        for (const auto& name : options.without) {
            sim::SwitchableBackend* backend = nullptr;
            const grpc::Status found = control->find(name, &backend);
            if (!found.ok()) {
                throw std::invalid_argument(found.error_message());
            }
            absent.push_back(backend);
        }
        for (sim::SwitchableBackend* backend : switchable) {
            if (std::find(absent.begin(), absent.end(), backend) == absent.end()) {
                backend->start();
            }
        }
        if (!options.control_address.empty()) {
            control_server = std::make_unique<sim::BackendServer>(
                options.control_address, std::initializer_list<grpc::Service*>{control.get()});
        }
    }
    // `answers`: operation and reply text of the operations whose defaults
    // would not look like a device.
    template <typename Backend>
    void serve_scripted(const Endpoint& row, const std::string& service_name, Backend& backend,
                        const std::vector<std::pair<std::string, std::string>>& answers = {}) {
        // An operation the backend carries out itself is left to it.
        succeed_everywhere(service_name, [&](const std::string& operation, const Message& reply) {
            if (!backend.behaves(operation)) {
                backend.reply(operation, reply);
            }
        });
        for (const auto& [operation, text] : answers) {
            backend.reply(operation, *reply_of(service_name, operation, text));
        }
        serve(row, backend);
    }
};

SimulatedBackends::SimulatedBackends(const EndpointCatalogue& endpoints,
                                     const SimulatorOptions& options)
    : servers_(std::make_unique<Servers>()) {
    Servers& s = *servers_;
    const EndpointCatalogue& e = endpoints;
    // Call control keeps its meetings and answers success where it has no say.
    s.serve(e.callproxy, s.calling);
    s.serve_scripted(e.volumemgr, "vanta.volumemgr.VolumeMgr", s.volume);
    s.serve(e.calendar, s.calendar);
    // These keep their state and announce its changes themselves.
    s.serve(e.reset, s.reset);
    s.serve(e.featuremanager, s.features);
    s.serve(e.upgrademanager, s.upgrades);
    s.serve_scripted(e.ieee8021x, "vanta.ieee8021x.Ieee8021x", s.ieee8021x);
    s.serve_scripted(e.systemcontroller, "vanta.systemcontroller.SystemController", s.system);
    s.serve_scripted(e.screensetting, "vanta.screensetting.ScreenSetting", s.screen);
    s.serve_scripted(e.hdmirx, "vanta.hdmirx.HdmiRx", s.hdmi);
    s.serve_scripted(e.ringer, "vanta.ringer.Ringer", s.ringer);
    s.serve(e.networkstatusreporter, s.network_status);
    s.serve(e.networkmanager, s.network);
    s.serve(e.wifi, s.wifi);
    s.serve(e.nimboultrasound, s.ultrasound);
    s.serve_scripted(e.avatar, "vanta.avatar.Avatar", s.avatar);
    s.serve(e.accesspoint, s.access_point);
    s.serve(e.account_manager, s.accounts);
    s.serve_scripted(e.krellsecurity, "vanta.krellsecurity.KrellSecurity", s.krell_security);
    s.serve_scripted(e.configmanager, "vanta.configmanager.Configuration", s.configuration);
    s.serve_scripted(e.krellconfigmanager, "vanta.krellconfigmanager.KrellConfigManager",
                     s.krell_configuration);
    s.serve_scripted(e.nimboconfigmanager, "vanta.nimboconfigmanager.Configuration",
                     s.cloud_configuration);
    s.serve_scripted(e.mediasession, "vanta.mediasession.MediaSession", s.media_session);
    s.serve(e.media, s.media);
    s.serve(e.problemreporter, s.problem_reporter);
    s.serve(e.problemreportstatus, s.problem_report_status);
    s.start(options);
}

SimulatedBackends::~SimulatedBackends() = default;

std::vector<std::string> SimulatedBackends::stopped() const {
    std::vector<std::string> names;
    for (const auto& server : servers_->servers) {
        if (server->state() == sim::SwitchableBackend::State::stopped) {
            names.push_back(server->name());
        }
    }
    return names;
}

void SimulatedBackends::announce_on_bus(const sim::BusAnnouncer::Publish& publish) {
    servers_->volume.bus.connect(publish);
    for (sim::BusAnnouncer* bus :
         {&servers_->wifi.bus, &servers_->access_point.bus, &servers_->network.bus,
          &servers_->features.bus, &servers_->upgrades.bus, &servers_->ultrasound.bus}) {
        bus->connect(publish);
    }
}

void SimulatedBackends::hear(const vanta::pubsub::PubSubMsg& message) {
    servers_->system.hear(message);
}

std::vector<std::string> SimulatedBackends::names() const {
    return servers_->names;
}

}  // namespace vanta::simulator
