#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class CertificateManagerPlugin {
  public:
    CertificateManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar);
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
};

}  // namespace vanta
