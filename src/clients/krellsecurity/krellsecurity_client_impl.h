#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/krellsecurity/krellsecurity_client.h"
#include "krellsecurity.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::krellsecurity {

class ClientImpl final : public GrpcClient<KrellSecurity, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    std::optional<bool> InstallCTL(const std::string& filepath, bool verify_signature) override;
    std::optional<bool> InstallITL(const std::string& filepath, bool verify_signature) override;
    std::optional<bool> ResetTrustList() override;
    std::optional<bool> RequireSignedFiles() override;
    std::optional<bool> IsServerSecure(ServerType type) override;
    std::optional<FileVerifyResponse> VerifyConfigFile(
        const VerifyConfigFileRequest& request) override;
    FileVerifyResponse VerifyLoadsFile(const std::string& filepath) override;
    std::optional<CapfResponse> StartCapf(const StartCapfRequest& request) override;
    std::optional<SecTrustListInfo> GetTrustListInfo() override;
    std::optional<SecTrustListItem> GetTrustListItem(uint32_t index,
                                                     TrustListSource source) override;
    std::optional<bool> GetCertificateStatus(CertificateType type) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::krellsecurity
