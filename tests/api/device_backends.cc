#include "device_backends.h"

#include <stdexcept>

#include "api_call.h"

namespace vanta::testing {

using google::protobuf::Message;

DeviceBackends::DeviceBackends(const EndpointCatalogue& endpoints) {
    const auto* calling_service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(
            "vanta.calling.Calling");
    scripted_["calling"] = {
        calling_service,
        [this](const std::string& operation, const Message& reply) {
            calling.answer(operation, reply);
        },
        [this](const std::string& operation, const grpc::Status& status) {
            calling.fail(operation, status);
        },
        [this] {
            std::vector<std::string> calls;
            for (const auto& call : calling.calls()) {
                calls.push_back(call.operation + "(" + call.request->ShortDebugString() + ")");
            }
            return calls;
        }};
    serve(endpoints.callproxy, calling);
    serve_scripted<volumemgr::VolumeMgr>(endpoints.volumemgr, volumemgr);
    serve_scripted<reset::Reset>(endpoints.reset, reset);
    serve_scripted<featuremanager::FeatureManager>(endpoints.featuremanager, featuremanager);
    serve_scripted<upgrademanager::UpgradeManager>(endpoints.upgrademanager, upgrademanager);
    serve_scripted<ieee8021x::Ieee8021x>(endpoints.ieee8021x, ieee8021x);
    serve_scripted<systemcontroller::SystemController>(endpoints.systemcontroller,
                                                       systemcontroller);
    serve_scripted<screensetting::ScreenSetting>(endpoints.screensetting, screensetting);
    serve_scripted<hdmirx::HdmiRx>(endpoints.hdmirx, hdmirx);
    serve_scripted<ringer::Ringer>(endpoints.ringer, ringer);
    serve_scripted<networkstatusreporter::NetworkStatusReporter>(endpoints.networkstatusreporter,
                                                                 networkstatusreporter);
    serve_scripted<networkmanager::NetworkManager>(endpoints.networkmanager, networkmanager);
    serve_scripted<wifi::Wifi>(endpoints.wifi, wifi);
    serve_scripted<nimboultrasound::NimboUltraSoundSvc>(endpoints.nimboultrasound, nimboultrasound);
    serve_scripted<avatar::Avatar>(endpoints.avatar, avatar);
    serve_scripted<accesspoint::AccessPoint>(endpoints.accesspoint, accesspoint);
    serve_scripted<krellsecurity::KrellSecurity>(endpoints.krellsecurity, krellsecurity);
    serve_scripted<configmanager::Configuration>(endpoints.configmanager, configmanager);
    serve_scripted<krellconfigmanager::KrellConfigManager>(endpoints.krellconfigmanager,
                                                           krellconfigmanager);
    serve_scripted<nimboconfigmanager::Configuration>(endpoints.nimboconfigmanager,
                                                      nimboconfigmanager);
    serve_scripted<mediasession::MediaSession>(endpoints.mediasession, mediasession);
    serve_scripted<certificatemanager::CertificateManager>(endpoints.certificatemanager,
                                                           certificatemanager);
    serve_scripted<nimbobranding::NimboBranding>(endpoints.nimbobranding, nimbobranding);
    serve_scripted<nimbostatusreporter::NimboStatusReporter>(endpoints.nimbostatusreporter,
                                                             nimbostatusreporter);
    serve_scripted<nimboroomcontrol::NimboRoomControl>(endpoints.nimboroomcontrol,
                                                       nimboroomcontrol);
    serve_scripted<sharegovernor::ShareGovernor>(endpoints.share_governor, sharegovernor);
    serve_scripted<phonebook::Phonebook>(endpoints.phonebook, phonebook);
    serve_scripted<nfc::Nfc>(endpoints.nfc, nfc);
    serve_scripted<accountmanager::AccountManager>(endpoints.account_manager, accountmanager);
    serve_scripted<calendar::Calendar>(endpoints.calendar, calendar);
    serve(endpoints.media, media);
    serve(endpoints.problemreporter, problemreporter);
    serve(endpoints.problemreportstatus, problemreportstatus);
}

void DeviceBackends::serve(const Endpoint& endpoint, grpc::Service& service) {
    servers_.push_back(std::make_unique<sim::BackendServer>(
        endpoint.address, std::initializer_list<grpc::Service*>{&service}));
}

template <typename Service, typename Backend>
void DeviceBackends::serve_scripted(const Endpoint& endpoint, Backend& backend) {
    const auto* service = google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(
        Service::service_full_name());
    // "vanta.volumemgr.VolumeMgr" is known as "volumemgr".
    const std::string& package = service->file()->package();
    scripted_[package.substr(package.rfind('.') + 1)] = {
        service,
        [&backend](const std::string& operation, const Message& reply) {
            backend.reply(operation, reply);
        },
        [&backend](const std::string&, const grpc::Status& status) { backend.fail_with(status); },
        [&backend] { return backend.calls_with_requests(); }};
    serve(endpoint, backend);
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
        .reply(found.name(), *parsed(*found.output_type(), reply));
}

void DeviceBackends::fail(const std::string& operation, const grpc::Status& status) {
    const auto& found = method(operation);
    scripted_.at(operation.substr(0, operation.find('.'))).fail(found.name(), status);
}

std::string DeviceBackends::normalized_request(const std::string& operation,
                                               const std::string& text) const {
    return normalized(*method(operation).input_type(), text);
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
