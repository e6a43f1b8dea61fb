#include "clients/krellsecurity/krellsecurity_client_impl.h"

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::krellsecurity {

namespace {
using Stub = KrellSecurity::Stub;

std::optional<bool> success_of(const std::optional<Response>& reply) {
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(endpoint.service_name)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

std::optional<bool> ClientImpl::InstallCTL(const std::string& filepath, bool verify_signature) {
    InstallCTLRequest request;
    request.set_filepath(filepath);
    request.set_verify_signature(verify_signature);
    return success_of(
        clients::call_or_empty(stub(), &Stub::InstallCTL, request, call("InstallCTL")));
}

std::optional<bool> ClientImpl::InstallITL(const std::string& filepath, bool verify_signature) {
    InstallITLRequest request;
    request.set_filepath(filepath);
    request.set_verify_signature(verify_signature);
    return success_of(
        clients::call_or_empty(stub(), &Stub::InstallITL, request, call("InstallITL")));
}

std::optional<bool> ClientImpl::ResetTrustList() {
    return success_of(
        clients::call_or_empty(stub(), &Stub::ResetTrustList, Empty(), call("ResetTrustList")));
}

std::optional<bool> ClientImpl::RequireSignedFiles() {
    return success_of(clients::call_or_empty(stub(), &Stub::RequireSignedFiles, Empty(),
                                             call("RequireSignedFiles")));
}

std::optional<bool> ClientImpl::IsServerSecure(ServerType type) {
    ServerTypeInfo request;
    request.set_type(type);
    return success_of(
        clients::call_or_empty(stub(), &Stub::IsServerSecure, request, call("IsServerSecure")));
}

std::optional<FileVerifyResponse> ClientImpl::VerifyConfigFile(
    const VerifyConfigFileRequest& request) {
    return clients::call_or_empty(stub(), &Stub::VerifyConfigFile, request,
                                  call("VerifyConfigFile"));
}

FileVerifyResponse ClientImpl::VerifyLoadsFile(const std::string& filepath) {
    VerifyLoadsFileRequest request;
    request.set_filepath(filepath);
    return clients::call_or_throw(stub(), &Stub::VerifyLoadsFile, request, call("VerifyLoadsFile"));
}

std::optional<CapfResponse> ClientImpl::StartCapf(const StartCapfRequest& request) {
    return clients::call_or_empty(stub(), &Stub::StartCapf, request, call("StartCapf"));
}

std::optional<SecTrustListInfo> ClientImpl::GetTrustListInfo() {
    return clients::call_or_empty(stub(), &Stub::GetTrustListInfo, Empty(),
                                  call("GetTrustListInfo"));
}

std::optional<SecTrustListItem> ClientImpl::GetTrustListItem(uint32_t index,
                                                             TrustListSource source) {
    TrustListIndex request;
    request.set_index(index);
    request.set_source(source);
    return clients::call_or_empty(stub(), &Stub::GetTrustListItem, request,
                                  call("GetTrustListItem"));
}

std::optional<bool> ClientImpl::GetCertificateStatus(CertificateType type) {
    CertificateStatus request;
    request.set_cert_type(type);
    return success_of(clients::call_or_empty(stub(), &Stub::GetCertificateStatus, request,
                                             call("GetCertificateStatus")));
}

std::unique_ptr<Client> create_krell_security_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint);
}

}  // namespace vanta::krellsecurity
