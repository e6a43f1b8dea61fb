// The plugins that serve one backend each (certificates and the wired 802.1X
// set-up, branding, avatars, cloud status, room control, shares, phone book,
// NFC) in the whole service, their backends simulated on temporary sockets:
// what each operation sends its backend and answers, and what each backend
// stream's event becomes on a real Subscribe stream. Every message is written
// in protobuf text format.

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <gtest/gtest.h>

#include "api/api_call.h"
#include "api/api_harness.h"
#include "api/event_stream.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/certificatemanager_backend.h"
#include "sim/ieee8021x_backend.h"
#include "sim/nfc_backend.h"
#include "sim/nimbobranding_backend.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/phonebook_backend.h"
#include "sim/sharegovernor_backend.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

// The backends of these plugins, each on its row of `endpoints`. A scripted
// operation is named by the backend's package and the operation:
// "phonebook.Search".
class DomainBackends {
  public:
    explicit DomainBackends(const EndpointCatalogue& endpoints) {
        serve<certificatemanager::CertificateManager>(endpoints.certificatemanager,
                                                      certificatemanager);
        serve<ieee8021x::Ieee8021x>(endpoints.ieee8021x, ieee8021x);
        serve<nimbobranding::NimboBranding>(endpoints.nimbobranding, nimbobranding);
        serve<avatar::Avatar>(endpoints.avatar, avatar);
        serve<nimbostatusreporter::NimboStatusReporter>(endpoints.nimbostatusreporter,
                                                        nimbostatusreporter);
        serve<nimboroomcontrol::NimboRoomControl>(endpoints.nimboroomcontrol, nimboroomcontrol);
        serve<sharegovernor::ShareGovernor>(endpoints.share_governor, sharegovernor);
        serve<phonebook::Phonebook>(endpoints.phonebook, phonebook);
        serve<nfc::Nfc>(endpoints.nfc, nfc);
    }

    // `operation` answers `reply` from now on.
    void script(const std::string& operation, const std::string& reply) {
        const auto& [backend, method] = find(operation);
        backend->reply(method->name(), *parse_text(method->output_type(), reply));
    }
    // The last call the backend of `operation` saw, as "Search(<request>)".
    std::string last_call(const std::string& operation) const {
        const std::vector<std::string> calls = find(operation).first->calls_with_requests();
        return calls.empty() ? "no call" : calls.back();
    }
    // The call of `operation` with the request written in `text`, as
    // last_call() writes it.
    std::string call_of(const std::string& operation, const std::string& text) const {
        const auto* method = find(operation).second;
        return method->name() + "(" + parse_text(method->input_type(), text)->ShortDebugString() +
               ")";
    }

    sim::CertificateManagerBackend certificatemanager;
    sim::Ieee8021xBackend ieee8021x;
    sim::NimboBrandingBackend nimbobranding;
    sim::AvatarBackend avatar;
    sim::NimboStatusReporterBackend nimbostatusreporter;
    sim::NimboRoomControlBackend nimboroomcontrol;
    sim::ShareGovernorBackend sharegovernor;
    sim::PhonebookBackend phonebook;
    sim::NfcBackend nfc;

  private:
    using Scripted = std::pair<sim::ScriptedBackend*, const google::protobuf::ServiceDescriptor*>;

    template <typename Service, typename Backend>
    void serve(const Endpoint& endpoint, Backend& backend) {
        const auto* service = google::protobuf::DescriptorPool::generated_pool()->FindServiceByName(
            Service::service_full_name());
        const std::string& package = service->file()->package();
        scripted_[package.substr(package.rfind('.') + 1)] = {&backend, service};
        servers_.push_back(std::make_unique<sim::BackendServer>(
            endpoint.address, std::initializer_list<grpc::Service*>{&backend}));
    }

    std::pair<sim::ScriptedBackend*, const google::protobuf::MethodDescriptor*> find(
        const std::string& operation) const {
        const size_t dot = operation.find('.');
        const auto found = scripted_.find(operation.substr(0, dot));
        const auto* method =
            found == scripted_.end()
                ? nullptr
                : found->second.second->FindMethodByName(operation.substr(dot + 1));
        if (method == nullptr) {
            throw std::invalid_argument("no backend operation " + operation);
        }
        return {found->second.first, method};
    }

    std::map<std::string, Scripted> scripted_;
    std::vector<std::unique_ptr<sim::BackendServer>> servers_;
};

struct OperationRow {
    std::string operation;
    std::string request;
    // The backend operation called, what it answers and what it must be sent.
    std::string backend_operation;
    std::string reply;
    std::string sent;
    // The answer, with status OK.
    std::string answer;
};

const std::vector<OperationRow>& operation_rows() {
    static const std::vector<OperationRow> rows = {
        // Certificates: the manager's kinds and usages keep their names; its
        // fields named differently are paired by meaning.
        {"CertGenerateCSR",
         "req_distinguished_name: 'CN=room' v3_req: 'ext' key_size: 2048 cert_usages: "
         "CU_SUPPLICANT_8021X cert_usages: CU_DIGITAL_SIGNAGE",
         "certificatemanager.CertGenerateCSR",
         "csr_created: true csr_fail_enum: CA_TIMEOUT cert_handle: 'csr-1'",
         "req_distinguished_name: 'CN=room' v3_req: 'ext' key_size: 2048 usages: "
         "CU_SUPPLICANT_8021X usages: CU_DIGITAL_SIGNAGE",
         "csr_created: true cert_handle: 'csr-1'"},
        {"CertRetrieveCSR", "cert_handle: 'csr-1'", "certificatemanager.CertRetrieveCSR",
         "csr_available: true csr_cn_string: 'room' file_xfer { filename: 'r.csr' filelength: 3 "
         "filecontent: 'CSR' }",
         "cert_handle: 'csr-1'", "csr_available: true csr_cn: 'room' csr_filecontent: 'CSR'"},
        {"CertInfo", "cert_handle: 'ca-1'", "certificatemanager.CertGetInfo",
         "success: true info { cert_handle: 'ca-1' name: 'Root' type: CT_CA_ROOT usages: "
         "CU_SUPPLICANT_EAPTLS public_path: '/c/ca.pem' private_path: '/c/ca.key' cert_pem_data: "
         "'PEM' }",
         "cert_handle: 'ca-1'",
         "success: true info { cert_handle: 'ca-1' name: 'Root' cert_type: CT_CA_ROOT cert_usages: "
         "CU_SUPPLICANT_EAPTLS public_path: '/c/ca.pem' private_path: '/c/ca.key' cert_pem_data: "
         "'PEM' }"},
        {"CertListCertificates", "cert_type: CT_SIGNING_REQUEST cert_usage: CU_DIGITAL_SIGNAGE",
         "certificatemanager.CertGetList", "cert_handles: 'a' cert_handles: 'b'",
         "cert_type: CT_UNKNOWN cert_usage: CU_DIGITAL_SIGNAGE",
         "cert_handles: 'a' cert_handles: 'b'"},
        {"CertSaveCACert",
         "cert_usages: CU_SUPPLICANT_8021X file_xfer { filename: 'ca.pem' filelength: 2 "
         "filecontent: 'ca' }",
         "certificatemanager.CertSaveCACert",
         "save_fail_enum: INVALID_CA_CERT save_fail_reason: 'expired'",
         "usages: CU_SUPPLICANT_8021X file_xfer { filename: 'ca.pem' filelength: 2 filecontent: "
         "'ca' }",
         "error: INVALID_CA_CERT"},
        {"CertSaveCustomCACert", "cert_usage: CU_DIGITAL_SIGNAGE",
         "certificatemanager.CertSaveCustomCACert", "success: true", "usage: CU_DIGITAL_SIGNAGE",
         "success: true error: NONE"},
        // The wired 802.1X set-up names its certificates by handle.
        {"Wired8021xConfigure",
         "ca_cert_handle: 'ca-1' client_cert_handle: 'cl-1' identity: 'room-7'",
         "ieee8021x.SetIeee8021xConfig", "failure_reason: 'no such certificate'",
         "ca_cert_handle: 'ca-1' client_cert_handle: 'cl-1' identity: 'room-7'",
         "failure_msg: 'no such certificate'"},
        // Branding.
        {"GetNimboBranding", "", "nimbobranding.GetNimboBranding",
         "brands { type: LOGO file: '/b/logo.png' } brands { type: HALFWAKE_BACKGROUND file: "
         "'/b/bg.png' }",
         "",
         "brands { type: LOGO file: '/b/logo.png' } brands { type: HALFWAKE_BACKGROUND file: "
         "'/b/bg.png' }"},
        {"GetCarouselImage", "", "nimbobranding.GetCarouselImage", "file: '/b/c.png'", "",
         "file: '/b/c.png'"},
        {"GetSignageState", "", "nimbobranding.GetSignageState", "state: AVAILABLE", "",
         "state: AVAILABLE"},
        // Cloud status: the reporter numbers its services one higher than the
        // API; the answer names the service asked for.
        {"GetNimboServiceStatus", "service_type: NOTIFICATIONS",
         "nimbostatusreporter.GetNimboServiceStatus",
         "service_type: UNKNOWN url: 'https://n' status: 'ok' alias: 'n1' "
         "nimbo_notifications_service_status { remoteaddress: 'wss://n' keepalive_status: 'up' "
         "ha_entries { url: 'wss://ha' priority: 2 } }",
         "service_type: NOTIFICATIONS",
         "service_type: NOTIFICATIONS url: 'https://n' status: 'ok' alias: 'n1' "
         "nimbo_notifications_service_status { activeurl: 'wss://n' keepalive_status: 'up' "
         "ha_entries { url: 'wss://ha' priority: 2 } }"},
        {"GetCloudConnectivity", "", "nimbostatusreporter.CheckCloudConnectivity",
         "connectivity_state: CLOUD_CONNECTION_DOWN", "",
         "connectivity_state: CLOUD_CONNECTION_DOWN"},
        // Room control: the service's roles under the API's names.
        {"GetSpaceInfo", "", "nimboroomcontrol.GetSpaceInfo",
         "number_of_devices_in_space: 2 self { device_url: 'a' roles: MAIN_AUDIO_RENDER } "
         "companions { device_url: 'b' roles: WIRELESS_SHARE_RENDER roles: CALL_CONTROL_MASTER }",
         "",
         "number_of_devices_in_space: 2 self { roles: MAIN_AUDIO_RENDERING device_url: 'a' } "
         "companions { roles: PRESENTATION_RENDERING roles: CALL_CONTROL_MASTER device_url: 'b' }"},
        // Shares.
        {"GetActiveShares", "", "sharegovernor.GetActiveShares",
         "shares { id: 3 type: IN_CALL_WIRED_SHARE parent_session: NIMBO_CALL parent_session_id: "
         "9 }",
         "",
         "shares { id: 3 type: IN_CALL_WIRED_SHARE parent_session: NIMBO_CALL "
         "parent_session_id: 9 }"},
        {"StartCallShare", "", "sharegovernor.StartWiredShare", "", "", ""},
        {"StopCallShare", "", "sharegovernor.StopAllShares", "", "", ""},
        // Phone book.
        {"PhonebookSearch",
         "query: 'ali' offset: 10 max_results: 5 directory: CORPORATE filter: PEOPLE",
         "phonebook.Search",
         "results { uuid: 'u1' display_name: 'Alice' email: 'a@x' sip_uri: 'sip:a@x' avatar_uri: "
         "'av' favorite: true type: DEVICE phone_numbers { type: MOBILE value: '123' } } offset: "
         "10 total_matches: 11 status: SUCCESS",
         "query: 'ali' offset: 10 max_results: 5 directory: CORPORATE filter: PEOPLE",
         "results { uuid: 'u1' display_name: 'Alice' email: 'a@x' sip_uri: 'sip:a@x' avatar_uri: "
         "'av' favorite: true type: DEVICE phone_numbers { type: MOBILE value: '123' } } offset: "
         "10 total_matches: 11 status: SUCCESS"},
    };
    return rows;
}

// Waits (bounded) until the backend streams to the service, then sends
// `event`, written as text.
template <typename Event, typename Request>
void stream(sim::EventStreams<Event, Request>& streams, const std::string& event) {
    ASSERT_TRUE(streams.wait_for_open_streams(1)) << "the plugin does not observe";
    streams.publish(*static_cast<const Event*>(parse_text(Event::descriptor(), event).get()));
}

struct EventRow {
    std::string plugin;
    std::function<void(DomainBackends&)> send;
    // The VantaEvent that subscribers get.
    std::string published;
};

const std::vector<EventRow>& event_rows() {
    static const std::vector<EventRow> rows = {
        {"NimboBrandingPlugin",
         [](DomainBackends& b) { stream(b.nimbobranding, "what: SIGNAGE_STARTED"); },
         "branding_event { what: SIGNAGE_STARTED }"},
        {"AvatarPlugin",
         [](DomainBackends& b) {
             stream(b.avatar.streams,
                    "avatar_info { success: true uuid: 'u1' size: 64 path: '/a/u1.png' "
                    "expiration: 1700000000 }");
         },
         "new_avatar_info_event { success: true uuid: 'u1' size: 64 path: '/a/u1.png' "
         "expiration: 1700000000 }"},
        {"NimboStatusReporterPlugin",
         [](DomainBackends& b) {
             stream(b.nimbostatusreporter.streams, "what: PHONEBOOK_CHANGED");
         },
         "nimbo_status_reporter_event { what: PHONEBOOK_CHANGED }"},
        {"ShareGovernorPlugin",
         [](DomainBackends& b) { stream(b.sharegovernor.events, "active_shares_changed { }"); },
         "share_governor_event { active_shares_changed { } }"},
        {"NfcPlugin",
         [](DomainBackends& b) { stream(b.nfc, "card_state_changed { state: CARD_INSERTED }"); },
         "card_state_changed { state: CARD_INSERTED }"},
    };
    return rows;
}

class DomainPlugins : public ::testing::Test {
  protected:
    TempDir dir_;
    EndpointCatalogue endpoints_ = endpoints_in_directory(dir_.path().string());
    DomainBackends backends_{endpoints_};
    ApiHarness api_{dir_.socket_address("vantaapi_service"), endpoints_};
    std::shared_ptr<grpc::Channel> channel_ = grpc::CreateChannel(
        dir_.socket_address("vantaapi_service"), grpc::InsecureChannelCredentials());
};

TEST_F(DomainPlugins, EachOperationSendsItsBackendTheRequestAndAnswersItsReply) {
    for (const OperationRow& row : operation_rows()) {
        SCOPED_TRACE(row.operation + "(" + row.request + ")");
        backends_.script(row.backend_operation, row.reply);
        const ApiAnswer answer = call_api(*channel_, row.operation, row.request);
        ASSERT_TRUE(answer.status.ok())
            << answer.status.error_code() << " " << answer.status.error_message();
        EXPECT_EQ(answer.response, normalized_answer(row.operation, row.answer));
        EXPECT_EQ(backends_.last_call(row.backend_operation),
                  backends_.call_of(row.backend_operation, row.sent));
    }
}

std::vector<std::string> as_text(const std::vector<vantaapi::VantaEvent>& events) {
    std::vector<std::string> texts;
    for (const vantaapi::VantaEvent& event : events) {
        texts.push_back(event.ShortDebugString());
    }
    return texts;
}

TEST_F(DomainPlugins, EachBackendEventReachesSubscribers) {
    auto stub = api_.client();
    EventStream events(*stub);
    ASSERT_FALSE(events.wait_for(1).empty()) << "the stream did not start";
    for (const EventRow& row : event_rows()) {
        SCOPED_TRACE(row.plugin);
        row.send(backends_);
        const std::string expected =
            parse_text(vantaapi::VantaEvent::descriptor(), row.published)->ShortDebugString();
        std::vector<std::string> received;
        const bool arrived = wait_until(
            [&] {
                received = as_text(events.wait_for(0, std::chrono::milliseconds(0)));
                return std::find(received.begin(), received.end(), expected) != received.end();
            },
            std::chrono::seconds(5));
        EXPECT_TRUE(arrived) << expected << " not among " << ::testing::PrintToString(received);
    }
}

}  // namespace
}  // namespace vanta::testing
