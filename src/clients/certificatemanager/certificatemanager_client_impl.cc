#include "clients/certificatemanager/certificatemanager_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta::certificatemanager {

namespace {
using Stub = CertificateManager::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("CertificateManagerClient")) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

CSRResp ClientImpl::CertGenerateCSR(const CSRRequest& request) {
    return clients::call_or_throw(stub(), &Stub::CertGenerateCSR, request, call("CertGenerateCSR"));
}

CSRRetrieveResp ClientImpl::CertRetrieveCSR(const CSRRetrieveReq& request) {
    return clients::call_or_throw(stub(), &Stub::CertRetrieveCSR, request, call("CertRetrieveCSR"));
}

LocalPublicKeyResp ClientImpl::CertSaveLocalPublicKey(const LocalPublicKeySave& request) {
    return clients::call_or_throw(stub(), &Stub::CertSaveLocalPublicKey, request,
                                  call("CertSaveLocalPublicKey"));
}

CACertSaveResp ClientImpl::CertSaveCACert(const CACertSave& request) {
    return clients::call_or_throw(stub(), &Stub::CertSaveCACert, request, call("CertSaveCACert"));
}

CustomCACertResp ClientImpl::CertSaveCustomCACert(const CustomCACertSave& request) {
    return clients::call_or_throw(stub(), &Stub::CertSaveCustomCACert, request,
                                  call("CertSaveCustomCACert"));
}

CertListResp ClientImpl::CertGetList(const CertListQuery& request) {
    return clients::call_or_throw(stub(), &Stub::CertGetList, request, call("CertGetList"));
}

CertInfoResp ClientImpl::CertGetInfo(const CertInfoQuery& request) {
    return clients::call_or_throw(stub(), &Stub::CertGetInfo, request, call("CertGetInfo"));
}

CertDeleteResp ClientImpl::CertDelete(const CertDeleteReq& request) {
    return clients::call_or_throw(stub(), &Stub::CertDelete, request, call("CertDelete"));
}

CertRetrieveResp ClientImpl::CertRetrieveCert(const CertRetrieveReq& request) {
    return clients::call_or_throw(stub(), &Stub::CertRetrieveCert, request,
                                  call("CertRetrieveCert"));
}

}  // namespace vanta::certificatemanager

namespace vanta {

std::unique_ptr<certificatemanager::Client> create_certificatemanager_client(
    const Endpoint& endpoint) {
    return std::make_unique<certificatemanager::ClientImpl>(endpoint);
}

}  // namespace vanta
