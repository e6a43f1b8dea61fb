#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/certificatemanager/certificatemanager_client.h"
#include "clients/ieee8021x/ieee8021x_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The device's certificates (signing requests, local and CA certificates) kept
// by the certificate manager, and the wired 802.1X set-up that names them.
// Each operation answers the backend's failure as the status
// "<operation>: [<error>]"; the backend's own refusals come back in the
// answer.
class CertificateManagerPlugin {
  public:
    // The clients talk to `certificatemanager` and `ieee8021x`, the
    // catalogue's rows of the same names.
    CertificateManagerPlugin(
        GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar,
        const Endpoint& certificatemanager = device_endpoints().certificatemanager,
        const Endpoint& ieee8021x = device_endpoints().ieee8021x);
    CertificateManagerPlugin(const CertificateManagerPlugin&) = delete;
    CertificateManagerPlugin& operator=(const CertificateManagerPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status generate_csr(grpc::ServerContext* context, const vantaapi::CSRRequest* request,
                              vantaapi::CSRResp* response);
    grpc::Status retrieve_csr(grpc::ServerContext* context, const vantaapi::CSRRetrieveReq* request,
                              vantaapi::CSRRetrieveResp* response);
    grpc::Status save_local_public_key(grpc::ServerContext* context,
                                       const vantaapi::LocalPublicKeySave* request,
                                       vantaapi::CertSaveResponse* response);
    grpc::Status save_ca_cert(grpc::ServerContext* context, const vantaapi::CACertSave* request,
                              vantaapi::CACertSaveResponse* response);
    grpc::Status save_custom_ca_cert(grpc::ServerContext* context,
                                     const vantaapi::CustomCACertSave* request,
                                     vantaapi::CACertSaveResponse* response);
    grpc::Status list_certificates(grpc::ServerContext* context,
                                   const vantaapi::CertListQuery* request,
                                   vantaapi::CertListResp* response);
    grpc::Status delete_certificate(grpc::ServerContext* context,
                                    const vantaapi::CertDeleteReq* request,
                                    vantaapi::CertDeleteResp* response);
    grpc::Status certificate_info(grpc::ServerContext* context,
                                  const vantaapi::CertInfoQuery* request,
                                  vantaapi::CertInfoResp* response);
    grpc::Status retrieve_certificate(grpc::ServerContext* context,
                                      const vantaapi::CertRetrieveReq* request,
                                      vantaapi::CertRetrieveResp* response);
    grpc::Status Wired8021xConfigure(grpc::ServerContext* context,
                                     const vantaapi::Wired8021xConfigRequest* request,
                                     vantaapi::Wired8021xResponse* response);

  private:
    std::unique_ptr<certificatemanager::Client> certificates_;
    std::unique_ptr<Ieee8021xClient> ieee8021x_;
};

}  // namespace vanta
