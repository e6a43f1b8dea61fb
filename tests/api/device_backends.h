#pragma once

// Every backend that the API service calls, simulated on its row of a
// catalogue: by default the fixed device sockets (the tests that use those
// run in a private /tmp). The scripted ones are driven through one interface
// that names an operation by the backend's package and the operation:
// "volumemgr.SetVolume".

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <grpcpp/grpcpp.h>

#include "rpc/client/endpoint_catalogue.h"
#include "sim/accesspoint_backend.h"
#include "sim/accountmanager_backend.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/calendar_backend.h"
#include "sim/calling_backend.h"
#include "sim/certificatemanager_backend.h"
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
#include "sim/nfc_backend.h"
#include "sim/nimbobranding_backend.h"
#include "sim/nimboconfigmanager_backend.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/nimboultrasound_backend.h"
#include "sim/phonebook_backend.h"
#include "sim/problemreporter_backend.h"
#include "sim/problemreportstatus_backend.h"
#include "sim/reset_backend.h"
#include "sim/ringer_backend.h"
#include "sim/screensetting_backend.h"
#include "sim/sharegovernor_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/upgrademanager_backend.h"
#include "sim/volumemgr_backend.h"
#include "sim/wifi_backend.h"

namespace vanta::testing {

class DeviceBackends {
  public:
    explicit DeviceBackends(const EndpointCatalogue& endpoints = device_endpoints());
    DeviceBackends(const DeviceBackends&) = delete;
    DeviceBackends& operator=(const DeviceBackends&) = delete;

    // `operation` ("volumemgr.SetVolume") answers `reply`, the text form of
    // its response, from now on. Throws std::invalid_argument for an unknown
    // operation or a reply that does not parse.
    void script(const std::string& operation, const std::string& reply);
    // The backend of `operation` refuses with `status` from now on: the call
    // proxy only that operation, the other scripted backends every operation.
    // An OK status ends the refusal. Throws as script() does.
    void fail(const std::string& operation, const grpc::Status& status);

    // How many calls each scripted backend has seen so far.
    using Marks = std::map<std::string, size_t>;
    Marks marks() const;
    // The calls made since `marks`, backend by backend, each as
    // "volumemgr.SetVolume(<request in short text form>)".
    std::vector<std::string> calls_since(const Marks& marks) const;

    // The request of `operation` read from its text form and written in the
    // short text form the calls are recorded in. Throws std::invalid_argument
    // when it does not parse.
    std::string normalized_request(const std::string& operation, const std::string& text) const;

    sim::CallingBackend calling;
    sim::VolumeMgrBackend volumemgr;
    sim::ResetBackend reset;
    sim::FeatureManagerBackend featuremanager;
    sim::UpgradeManagerBackend upgrademanager;
    sim::Ieee8021xBackend ieee8021x;
    sim::SystemControllerBackend systemcontroller;
    sim::ScreenSettingBackend screensetting;
    sim::HdmiRxBackend hdmirx;
    sim::RingerBackend ringer;
    sim::NetworkStatusReporterBackend networkstatusreporter;
    sim::NetworkManagerBackend networkmanager;
    sim::WifiBackend wifi;
    sim::NimboUltrasoundBackend nimboultrasound;
    sim::AvatarBackend avatar;
    sim::AccessPointBackend accesspoint;
    sim::KrellSecurityBackend krellsecurity;
    sim::ConfigManagerBackend configmanager;
    sim::KrellConfigManagerBackend krellconfigmanager;
    sim::NimboConfigManagerBackend nimboconfigmanager;
    sim::MediaSessionBackend mediasession;
    sim::CertificateManagerBackend certificatemanager;
    sim::NimboBrandingBackend nimbobranding;
    sim::NimboStatusReporterBackend nimbostatusreporter;
    sim::NimboRoomControlBackend nimboroomcontrol;
    sim::ShareGovernorBackend sharegovernor;
    sim::PhonebookBackend phonebook;
    sim::NfcBackend nfc;
    sim::AccountManagerBackend accountmanager;
    sim::CalendarBackend calendar;
    // Not scripted: they keep their own records.
    sim::MediaBackend media;
    sim::ProblemReporterBackend problemreporter;
    sim::ProblemReportStatusBackend problemreportstatus;

  private:
    struct Scripted {
        const google::protobuf::ServiceDescriptor* service;
        std::function<void(const std::string&, const google::protobuf::Message&)> reply;
        std::function<void(const std::string&, const grpc::Status&)> fail;
        std::function<std::vector<std::string>()> calls;
    };
    void serve(const Endpoint& endpoint, grpc::Service& service);
    template <typename Service, typename Backend>
    void serve_scripted(const Endpoint& endpoint, Backend& backend);
    const google::protobuf::MethodDescriptor& method(const std::string& operation) const;

    std::map<std::string, Scripted> scripted_;
    std::vector<std::unique_ptr<sim::BackendServer>> servers_;
};

}  // namespace vanta::testing
