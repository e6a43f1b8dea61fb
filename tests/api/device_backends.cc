#include "device_backends.h"

#include <stdexcept>

#include "api_call.h"

namespace vanta::testing {

using google::protobuf::Message;

DeviceBackends::DeviceBackends() {
    const auto* calling_service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(
            "vanta.calling.Calling");
    scripted_["calling"] = {
        calling_service,
        [this](const std::string& operation, const Message& reply) {
            calling.answer(operation, reply);
        },
        [this] {
            std::vector<std::string> calls;
            for (const auto& call : calling.calls()) {
                calls.push_back(call.operation + "(" + call.request->ShortDebugString() + ")");
            }
            return calls;
        }};
    serve("callproxy", calling);
    serve_scripted("volumemgr_service", "vanta.volumemgr.VolumeMgr", volumemgr);
    serve_scripted("reset_service", "vanta.reset.Reset", reset);
    serve_scripted("featuremanager_service", "vanta.featuremanager.FeatureManager", featuremanager);
    serve_scripted("upgrademanager_service", "vanta.upgrademanager.UpgradeManager", upgrademanager);
    serve_scripted("ieee8021x_service", "vanta.ieee8021x.Ieee8021x", ieee8021x);
    serve_scripted("systemcontroller_service", "vanta.systemcontroller.SystemController",
                   systemcontroller);
    serve_scripted("screensetting_service", "vanta.screensetting.ScreenSetting", screensetting);
    serve_scripted("hdmirx_stub", "vanta.hdmirx.HdmiRx", hdmirx);
    serve_scripted("ringer", "vanta.ringer.Ringer", ringer);
    serve_scripted("network_status_reporter", "vanta.networkstatusreporter.NetworkStatusReporter",
                   networkstatusreporter);
    serve_scripted("networkmanager_service", "vanta.networkmanager.NetworkManager", networkmanager);
    serve_scripted("wifi_service", "vanta.wifi.Wifi", wifi);
    serve_scripted("nimboultrasound_service", "vanta.nimboultrasound.NimboUltraSoundSvc",
                   nimboultrasound);
    serve_scripted("avatar_service", "vanta.avatar.Avatar", avatar);
    serve_scripted("ap_service", "vanta.accesspoint.AccessPoint", accesspoint);
    serve_scripted("krellsecurity_service", "vanta.krellsecurity.KrellSecurity", krellsecurity);
    serve_scripted("configmanager", "vanta.configmanager.Configuration", configmanager);
    serve_scripted("krellconfigmanager", "vanta.krellconfigmanager.KrellConfigManager",
                   krellconfigmanager);
    serve_scripted("nimboconfigmanager_service", "vanta.nimboconfigmanager.Configuration",
                   nimboconfigmanager);
    serve_scripted("mediasession_service", "vanta.mediasession.MediaSession", mediasession);
    serve("media_service", media);
    serve("problemreporter_service", problemreporter);
    serve("problemreportstatus_service", problemreportstatus);
}

void DeviceBackends::serve(const std::string& socket, grpc::Service& service) {
    servers_.push_back(std::make_unique<sim::BackendServer>(
        "unix:/tmp/" + socket, std::initializer_list<grpc::Service*>{&service}));
}

template <typename Backend>
void DeviceBackends::serve_scripted(const std::string& socket, const std::string& service_name,
                                    Backend& backend) {
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(service_name);
    if (service == nullptr) {
        throw std::logic_error("no backend schema named " + service_name);
    }
    // "vanta.volumemgr.VolumeMgr" is known as "volumemgr".
    const std::string& package = service->file()->package();
    scripted_[package.substr(package.rfind('.') + 1)] = {
        service,
        [&backend](const std::string& operation, const Message& reply) {
            backend.reply(operation, reply);
        },
        [&backend] { return backend.calls_with_requests(); }};
    serve(socket, backend);
}

const google::protobuf::MethodDescriptor& DeviceBackends::method(
    const std::string& operation) const {
    const auto dot = operation.find('.');
    const auto backend = scripted_.find(operation.substr(0, dot));
    const auto* method = backend == scripted_.end() || dot == std::string::npos
                             ? nullptr
                             : backend->second.service->FindMethodByName(operation.substr(dot + 1));
    if (method == nullptr) {
        throw std::invalid_argument("no backend operation " + operation);
    }
    return *method;
}

void DeviceBackends::script(const std::string& operation, const std::string& reply) {
    const auto& found = method(operation);
    scripted_.at(operation.substr(0, operation.find('.')))
        .reply(found.name(), *parse_text(found.output_type(), reply));
}

std::string DeviceBackends::normalized_request(const std::string& operation,
                                               const std::string& text) const {
    return parse_text(method(operation).input_type(), text)->ShortDebugString();
}

DeviceBackends::Marks DeviceBackends::marks() const {
    Marks marks;
    for (const auto& [name, backend] : scripted_) {
        marks[name] = backend.calls().size();
    }
    return marks;
}

std::vector<std::string> DeviceBackends::calls_since(const Marks& marks) const {
    std::vector<std::string> calls;
    for (const auto& [name, backend] : scripted_) {
        const auto all = backend.calls();
        const auto mark = marks.find(name);
        for (size_t i = mark == marks.end() ? 0 : mark->second; i < all.size(); ++i) {
            calls.push_back(name + "." + all[i]);
        }
    }
    return calls;
}

}  // namespace vanta::testing
