#include "plugins/nimbo_status_reporter_plugin.h"

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

namespace nsr = nimbostatusreporter;
using BackendService = nsr::NimboServiceStatus;

// The reporter counts its services from an "unknown" service (0), the API from
// its first service: the same service is one number higher at the reporter.
BackendService::ServiceType to_backend_service(vantaapi::NimboServiceType service) {
    const int number = static_cast<int>(service) + 1;
    return BackendService::ServiceType_IsValid(number)
               ? static_cast<BackendService::ServiceType>(number)
               : BackendService::UNKNOWN;
}

// The reporter's detail messages have the API's fields under the same
// numbers (the notifications' remote address is the API's active URL), so
// each is carried over as it is on the wire.
void copy_details(const google::protobuf::Message& from, google::protobuf::Message& to) {
    to.ParseFromString(from.SerializeAsString());
}

void copy_service_status(const BackendService& from, vantaapi::NimboServiceStatus& to) {
    to.set_url(from.url());
    to.set_description(from.description());
    to.set_status(from.status());
    to.set_timestamp(from.timestamp());
    to.set_next_request(from.next_request());
    to.set_alias(from.alias());
    switch (from.data_case()) {
        case BackendService::kNimboEncryptionServiceStatus:
            copy_details(from.nimbo_encryption_service_status(),
                         *to.mutable_nimbo_encryption_service_status());
            break;
        case BackendService::kNimboCredentialsServiceStatus:
            copy_details(from.nimbo_credentials_service_status(),
                         *to.mutable_nimbo_credentials_service_status());
            break;
        case BackendService::kNimboUpgradeServiceStatus:
            copy_details(from.nimbo_upgrade_service_status(),
                         *to.mutable_nimbo_upgrade_service_status());
            break;
        case BackendService::kNimboConfigurationServiceStatus:
            copy_details(from.nimbo_configuration_service_status(),
                         *to.mutable_nimbo_configuration_service_status());
            break;
        case BackendService::kNimboNotificationsServiceStatus:
            copy_details(from.nimbo_notifications_service_status(),
                         *to.mutable_nimbo_notifications_service_status());
            break;
        case BackendService::DATA_NOT_SET:
            break;
    }
}

// Both sides number the changes alike.
vantaapi::NimboStatusReporterEvent::ChangeType to_api_change(int what) {
    using Change = vantaapi::NimboStatusReporterEvent;
    return Change::ChangeType_IsValid(what) ? static_cast<Change::ChangeType>(what)
                                            : Change::UNKNOWN_CHANGE;
}

// Both sides number the connection states alike.
vantaapi::CloudConnectivityResponse::ConnectivityState to_api_connectivity(int state) {
    using Api = vantaapi::CloudConnectivityResponse;
    return Api::ConnectivityState_IsValid(state) ? static_cast<Api::ConnectivityState>(state)
                                                 : Api::CLOUD_CONNECTION_UNKNOWN;
}

}  // namespace

NimboStatusReporterPlugin::NimboStatusReporterPlugin(
    Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar&,
    const Endpoint& nimbostatusreporter)
    : publisher_(publisher), client_(nsr::create_client(executor, nimbostatusreporter)) {
    client_->SetObserver([this](const nsr::Event& event) { send_status_event(event); }, [] {});
}

void NimboStatusReporterPlugin::send_status_event(const nsr::Event& event) {
    vantaapi::VantaEvent published;
    published.mutable_nimbo_status_reporter_event()->set_what(to_api_change(event.what()));
    publisher_.publish(published);
}

grpc::Status NimboStatusReporterPlugin::get_cloud_connectivity(
    grpc::ServerContext*, const google::protobuf::Empty*,
    vantaapi::CloudConnectivityResponse* response) {
    nsr::CloudConnectivityResponse::ConnectivityState state =
        nsr::CloudConnectivityResponse::CLOUD_CONNECTION_UNKNOWN;
    const grpc::Status status = grpc_exception_handler(
        "GetCloudConnectivity", [&] { state = client_->CheckCloudConnectivity(); });
    response->set_connectivity_state(to_api_connectivity(state));
    return status;
}

// The answer names the service that was asked for.
grpc::Status NimboStatusReporterPlugin::get_nimbo_service_status(
    grpc::ServerContext*, const vantaapi::NimboServiceRequest* request,
    vantaapi::NimboServiceStatus* response) {
    BackendService reply;
    const grpc::Status status = grpc_exception_handler("GetNimboServiceStatus", [&] {
        reply = client_->GetNimboServiceStatus(to_backend_service(request->service_type()));
    });
    response->set_service_type(request->service_type());
    copy_service_status(reply, *response);
    return status;
}

}  // namespace vanta
