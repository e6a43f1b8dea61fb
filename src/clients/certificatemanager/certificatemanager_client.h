#pragma once

#include <chrono>
#include <memory>

#include "certificatemanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::certificatemanager {

// The certificate manager: signing requests, local and CA certificates, and
// what it stores. Every operation raises the GrpcException of a failed call;
// the manager's own refusals come back in the replies.
class Client : public GrpcClientBase {
  public:
    virtual CSRResp CertGenerateCSR(const CSRRequest& request) = 0;
    virtual CSRRetrieveResp CertRetrieveCSR(const CSRRetrieveReq& request) = 0;
    virtual LocalPublicKeyResp CertSaveLocalPublicKey(const LocalPublicKeySave& request) = 0;
    virtual CACertSaveResp CertSaveCACert(const CACertSave& request) = 0;
    virtual CustomCACertResp CertSaveCustomCACert(const CustomCACertSave& request) = 0;
    virtual CertListResp CertGetList(const CertListQuery& request) = 0;
    virtual CertInfoResp CertGetInfo(const CertInfoQuery& request) = 0;
    virtual CertDeleteResp CertDelete(const CertDeleteReq& request) = 0;
    virtual CertRetrieveResp CertRetrieveCert(const CertRetrieveReq& request) = 0;
};

}  // namespace vanta::certificatemanager

namespace vanta {

// A client of the certificate manager at `endpoint` (the catalogue's
// certificatemanager row).
std::unique_ptr<certificatemanager::Client> create_certificatemanager_client(
    const Endpoint& endpoint);

}  // namespace vanta
