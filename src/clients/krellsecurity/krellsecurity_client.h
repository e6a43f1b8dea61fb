#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "krellsecurity.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::krellsecurity {

// The on-premises security service: trust lists, signed files, the
// certificate authority proxy and certificate checks. Operations that answer
// std::optional give nothing when the service could not answer;
// VerifyLoadsFile raises the GrpcException of a failure.
class Client : public GrpcClientBase {
  public:
    virtual std::optional<bool> InstallCTL(const std::string& filepath, bool verify_signature) = 0;
    virtual std::optional<bool> InstallITL(const std::string& filepath, bool verify_signature) = 0;
    virtual std::optional<bool> ResetTrustList() = 0;
    virtual std::optional<bool> RequireSignedFiles() = 0;
    virtual std::optional<bool> IsServerSecure(ServerType type) = 0;
    virtual std::optional<FileVerifyResponse> VerifyConfigFile(
        const VerifyConfigFileRequest& request) = 0;
    virtual FileVerifyResponse VerifyLoadsFile(const std::string& filepath) = 0;
    virtual std::optional<CapfResponse> StartCapf(const StartCapfRequest& request) = 0;
    virtual std::optional<SecTrustListInfo> GetTrustListInfo() = 0;
    virtual std::optional<SecTrustListItem> GetTrustListItem(uint32_t index,
                                                             TrustListSource source) = 0;
    virtual std::optional<bool> GetCertificateStatus(CertificateType type) = 0;
};

// A client of the on-premises security service at `endpoint` (the catalogue's
// krellsecurity row).
std::unique_ptr<Client> create_krell_security_client(const Endpoint& endpoint);

}  // namespace vanta::krellsecurity
