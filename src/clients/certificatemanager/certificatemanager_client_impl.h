#pragma once

#include <chrono>
#include <string>

#include "certificatemanager.grpc.pb.h"
#include "clients/certificatemanager/certificatemanager_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::certificatemanager {

class ClientImpl final : public GrpcClient<CertificateManager, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    CSRResp CertGenerateCSR(const CSRRequest& request) override;
    CSRRetrieveResp CertRetrieveCSR(const CSRRetrieveReq& request) override;
    LocalPublicKeyResp CertSaveLocalPublicKey(const LocalPublicKeySave& request) override;
    CACertSaveResp CertSaveCACert(const CACertSave& request) override;
    CustomCACertResp CertSaveCustomCACert(const CustomCACertSave& request) override;
    CertListResp CertGetList(const CertListQuery& request) override;
    CertInfoResp CertGetInfo(const CertInfoQuery& request) override;
    CertDeleteResp CertDelete(const CertDeleteReq& request) override;
    CertRetrieveResp CertRetrieveCert(const CertRetrieveReq& request) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::certificatemanager
