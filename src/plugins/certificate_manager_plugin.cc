#include "plugins/certificate_manager_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

CertificateManagerPlugin::CertificateManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&,
                                                   PluginRegistrar&) {}

grpc::Status CertificateManagerPlugin::generate_csr(grpc::ServerContext*,
                                                    const vantaapi::CSRRequest*,
                                                    vantaapi::CSRResp*) {
    return not_available_yet("CertificateManagerPlugin::generate_csr");
}

grpc::Status CertificateManagerPlugin::retrieve_csr(grpc::ServerContext*,
                                                    const vantaapi::CSRRetrieveReq*,
                                                    vantaapi::CSRRetrieveResp*) {
    return not_available_yet("CertificateManagerPlugin::retrieve_csr");
}

grpc::Status CertificateManagerPlugin::save_local_public_key(grpc::ServerContext*,
                                                             const vantaapi::LocalPublicKeySave*,
                                                             vantaapi::CertSaveResponse*) {
    return not_available_yet("CertificateManagerPlugin::save_local_public_key");
}

grpc::Status CertificateManagerPlugin::save_ca_cert(grpc::ServerContext*,
                                                    const vantaapi::CACertSave*,
                                                    vantaapi::CACertSaveResponse*) {
    return not_available_yet("CertificateManagerPlugin::save_ca_cert");
}

grpc::Status CertificateManagerPlugin::save_custom_ca_cert(grpc::ServerContext*,
                                                           const vantaapi::CustomCACertSave*,
                                                           vantaapi::CACertSaveResponse*) {
    return not_available_yet("CertificateManagerPlugin::save_custom_ca_cert");
}

grpc::Status CertificateManagerPlugin::list_certificates(grpc::ServerContext*,
                                                         const vantaapi::CertListQuery*,
                                                         vantaapi::CertListResp*) {
    return not_available_yet("CertificateManagerPlugin::list_certificates");
}

grpc::Status CertificateManagerPlugin::delete_certificate(grpc::ServerContext*,
                                                          const vantaapi::CertDeleteReq*,
                                                          vantaapi::CertDeleteResp*) {
    return not_available_yet("CertificateManagerPlugin::delete_certificate");
}

grpc::Status CertificateManagerPlugin::certificate_info(grpc::ServerContext*,
                                                        const vantaapi::CertInfoQuery*,
                                                        vantaapi::CertInfoResp*) {
    return not_available_yet("CertificateManagerPlugin::certificate_info");
}

grpc::Status CertificateManagerPlugin::retrieve_certificate(grpc::ServerContext*,
                                                            const vantaapi::CertRetrieveReq*,
                                                            vantaapi::CertRetrieveResp*) {
    return not_available_yet("CertificateManagerPlugin::retrieve_certificate");
}

grpc::Status CertificateManagerPlugin::Wired8021xConfigure(grpc::ServerContext*,
                                                           const vantaapi::Wired8021xConfigRequest*,
                                                           vantaapi::Wired8021xResponse*) {
    return not_available_yet("CertificateManagerPlugin::Wired8021xConfigure");
}

}  // namespace vanta
