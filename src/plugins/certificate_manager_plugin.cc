#include "plugins/certificate_manager_plugin.h"

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

namespace cm = certificatemanager;

// Both sides number the usages alike; a number the other side does not know
// is the unknown usage.
cm::CertUsage to_backend_usage(int usage) {
    return cm::CertUsage_IsValid(usage) ? static_cast<cm::CertUsage>(usage) : cm::CU_UNKNOWN;
}

vantaapi::CertUsage to_api_usage(int usage) {
    return vantaapi::CertUsage_IsValid(usage) ? static_cast<vantaapi::CertUsage>(usage)
                                              : vantaapi::CU_UNKNOWN;
}

// The two sides share the first three kinds; the API's signing request and the
// manager's private key have no counterpart.
cm::CertType to_backend_type(vantaapi::CertType type) {
    switch (type) {
        case vantaapi::CT_LOCAL:
            return cm::CT_LOCAL;
        case vantaapi::CT_CA_ROOT:
            return cm::CT_CA_ROOT;
        default:
            return cm::CT_UNKNOWN;
    }
}

vantaapi::CertType to_api_type(cm::CertType type) {
    switch (type) {
        case cm::CT_LOCAL:
            return vantaapi::CT_LOCAL;
        case cm::CT_CA_ROOT:
            return vantaapi::CT_CA_ROOT;
        default:
            return vantaapi::CT_UNKNOWN;
    }
}

void copy_file(const vantaapi::FileTransfer& from, cm::FileTransfer& to) {
    to.set_filename(from.filename());
    to.set_filelength(from.filelength());
    to.set_filecontent(from.filecontent());
}

void copy_file(const cm::FileTransfer& from, vantaapi::FileTransfer& to) {
    to.set_filename(from.filename());
    to.set_filelength(from.filelength());
    to.set_filecontent(from.filecontent());
}

// A saved CA certificate has no failure; a refused one is either invalid or
// refused for a reason the manager does not name.
template <typename Reply>
void copy_ca_cert_answer(const Reply& from, vantaapi::CACertSaveResponse& to) {
    to.set_success(from.success());
    if (from.success()) {
        to.set_error(vantaapi::CACertSaveResponse::NONE);
    } else if (from.save_fail_enum() == cm::INVALID_CA_CERT) {
        to.set_error(vantaapi::CACertSaveResponse::INVALID_CA_CERT);
    } else {
        to.set_error(vantaapi::CACertSaveResponse::UNKNOWN);
    }
}

void copy_certificate_info(const cm::CertInfoResp::CertificateInfo& from,
                           vantaapi::CertificateInfo& to) {
    to.set_cert_handle(from.cert_handle());
    to.set_name(from.name());
    to.set_cert_type(to_api_type(from.type()));
    for (const int usage : from.usages()) {
        to.add_cert_usages(to_api_usage(usage));
    }
    to.set_public_path(from.public_path());
    to.set_private_path(from.private_path());
    to.set_cert_pem_data(from.cert_pem_data());
}

}  // namespace

CertificateManagerPlugin::CertificateManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&,
                                                   PluginRegistrar&,
                                                   const Endpoint& certificatemanager,
                                                   const Endpoint& ieee8021x)
    : certificates_(create_certificatemanager_client(certificatemanager)),
      ieee8021x_(create_ieee8021x_service_client(ieee8021x)) {}

grpc::Status CertificateManagerPlugin::generate_csr(grpc::ServerContext*,
                                                    const vantaapi::CSRRequest* request,
                                                    vantaapi::CSRResp* response) {
    cm::CSRRequest sent;
    sent.set_req_distinguished_name(request->req_distinguished_name());
    sent.set_v3_req(request->v3_req());
    sent.set_key_size(request->key_size());
    for (const int usage : request->cert_usages()) {
        sent.add_usages(to_backend_usage(usage));
    }
    cm::CSRResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertGenerateCSR", [&] { reply = certificates_->CertGenerateCSR(sent); });
    response->set_csr_created(reply.csr_created());
    response->set_cert_handle(reply.cert_handle());
    return status;
}

grpc::Status CertificateManagerPlugin::retrieve_csr(grpc::ServerContext*,
                                                    const vantaapi::CSRRetrieveReq* request,
                                                    vantaapi::CSRRetrieveResp* response) {
    cm::CSRRetrieveReq sent;
    sent.set_cert_handle(request->cert_handle());
    cm::CSRRetrieveResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertRetrieveCSR", [&] { reply = certificates_->CertRetrieveCSR(sent); });
    response->set_csr_available(reply.csr_available());
    response->set_csr_cn(reply.csr_cn_string());
    response->set_csr_filecontent(reply.file_xfer().filecontent());
    return status;
}

grpc::Status CertificateManagerPlugin::save_local_public_key(
    grpc::ServerContext*, const vantaapi::LocalPublicKeySave* request,
    vantaapi::CertSaveResponse* response) {
    cm::LocalPublicKeySave sent;
    sent.set_cert_handle(request->cert_handle());
    if (request->has_file_xfer()) {
        copy_file(request->file_xfer(), *sent.mutable_file_xfer());
    }
    cm::LocalPublicKeyResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertSaveLocalPublicKey", [&] { reply = certificates_->CertSaveLocalPublicKey(sent); });
    response->set_success(reply.success());
    return status;
}

grpc::Status CertificateManagerPlugin::save_ca_cert(grpc::ServerContext*,
                                                    const vantaapi::CACertSave* request,
                                                    vantaapi::CACertSaveResponse* response) {
    cm::CACertSave sent;
    for (const int usage : request->cert_usages()) {
        sent.add_usages(to_backend_usage(usage));
    }
    if (request->has_file_xfer()) {
        copy_file(request->file_xfer(), *sent.mutable_file_xfer());
    }
    cm::CACertSaveResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertSaveCACert", [&] { reply = certificates_->CertSaveCACert(sent); });
    copy_ca_cert_answer(reply, *response);
    return status;
}

grpc::Status CertificateManagerPlugin::save_custom_ca_cert(
    grpc::ServerContext*, const vantaapi::CustomCACertSave* request,
    vantaapi::CACertSaveResponse* response) {
    cm::CustomCACertSave sent;
    sent.set_usage(to_backend_usage(request->cert_usage()));
    if (request->has_file_xfer()) {
        copy_file(request->file_xfer(), *sent.mutable_file_xfer());
    }
    cm::CustomCACertResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertSaveCustomCACert", [&] { reply = certificates_->CertSaveCustomCACert(sent); });
    copy_ca_cert_answer(reply, *response);
    return status;
}

grpc::Status CertificateManagerPlugin::list_certificates(grpc::ServerContext*,
                                                         const vantaapi::CertListQuery* request,
                                                         vantaapi::CertListResp* response) {
    cm::CertListQuery sent;
    sent.set_cert_type(to_backend_type(request->cert_type()));
    sent.set_cert_usage(to_backend_usage(request->cert_usage()));
    cm::CertListResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertListCertificates", [&] { reply = certificates_->CertGetList(sent); });
    response->mutable_cert_handles()->CopyFrom(reply.cert_handles());
    return status;
}

grpc::Status CertificateManagerPlugin::delete_certificate(grpc::ServerContext*,
                                                          const vantaapi::CertDeleteReq* request,
                                                          vantaapi::CertDeleteResp* response) {
    cm::CertDeleteReq sent;
    sent.set_cert_handle(request->cert_handle());
    cm::CertDeleteResp reply;
    const grpc::Status status =
        grpc_exception_handler("CertDelete", [&] { reply = certificates_->CertDelete(sent); });
    response->set_success(reply.success());
    return status;
}

grpc::Status CertificateManagerPlugin::certificate_info(grpc::ServerContext*,
                                                        const vantaapi::CertInfoQuery* request,
                                                        vantaapi::CertInfoResp* response) {
    cm::CertInfoQuery sent;
    sent.set_cert_handle(request->cert_handle());
    cm::CertInfoResp reply;
    const grpc::Status status =
        grpc_exception_handler("CertInfo", [&] { reply = certificates_->CertGetInfo(sent); });
    response->set_success(reply.success());
    if (reply.has_info()) {
        copy_certificate_info(reply.info(), *response->mutable_info());
    }
    return status;
}

grpc::Status CertificateManagerPlugin::retrieve_certificate(
    grpc::ServerContext*, const vantaapi::CertRetrieveReq* request,
    vantaapi::CertRetrieveResp* response) {
    cm::CertRetrieveReq sent;
    sent.set_cert_handle(request->cert_handle());
    cm::CertRetrieveResp reply;
    const grpc::Status status = grpc_exception_handler(
        "CertRetrieveCert", [&] { reply = certificates_->CertRetrieveCert(sent); });
    response->set_cert_available(reply.cert_available());
    response->set_cert_cn_string(reply.cert_cn_string());
    if (reply.has_file_xfer()) {
        copy_file(reply.file_xfer(), *response->mutable_file_xfer());
    }
    return status;
}

// The 802.1X service finds the certificates by their handles.
grpc::Status CertificateManagerPlugin::Wired8021xConfigure(
    grpc::ServerContext*, const vantaapi::Wired8021xConfigRequest* request,
    vantaapi::Wired8021xResponse* response) {
    ieee8021x::Ieee8021xConfig sent;
    sent.set_ca_cert_handle(request->ca_cert_handle());
    sent.set_client_cert_handle(request->client_cert_handle());
    sent.set_identity(request->identity());
    ieee8021x::RequestStatus reply;
    const grpc::Status status = grpc_exception_handler(
        "Wired8021xConfigure", [&] { reply = ieee8021x_->SetIeee8021xConfig(sent); });
    response->set_success(reply.success());
    response->set_failure_msg(reply.failure_reason());
    return status;
}

}  // namespace vanta
