#pragma once

#include "krellsecurity.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The on-premises security service: scripted replies, recorded requests.
class KrellSecurityBackend final : public krellsecurity::KrellSecurity::Service,
                                   public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(InstallCTL, krellsecurity::InstallCTLRequest, krellsecurity::Response)
    VANTA_SCRIPTED_OPERATION(InstallITL, krellsecurity::InstallITLRequest, krellsecurity::Response)
    VANTA_SCRIPTED_OPERATION(ResetTrustList, krellsecurity::Empty, krellsecurity::Response)
    VANTA_SCRIPTED_OPERATION(RequireSignedFiles, krellsecurity::Empty, krellsecurity::Response)
    VANTA_SCRIPTED_OPERATION(IsServerSecure, krellsecurity::ServerTypeInfo, krellsecurity::Response)
    VANTA_SCRIPTED_OPERATION(VerifyConfigFile, krellsecurity::VerifyConfigFileRequest,
                             krellsecurity::FileVerifyResponse)
    VANTA_SCRIPTED_OPERATION(VerifyLoadsFile, krellsecurity::VerifyLoadsFileRequest,
                             krellsecurity::FileVerifyResponse)
    VANTA_SCRIPTED_OPERATION(StartCapf, krellsecurity::StartCapfRequest,
                             krellsecurity::CapfResponse)
    VANTA_SCRIPTED_OPERATION(GetTrustListInfo, krellsecurity::Empty,
                             krellsecurity::SecTrustListInfo)
    VANTA_SCRIPTED_OPERATION(GetTrustListItem, krellsecurity::TrustListIndex,
                             krellsecurity::SecTrustListItem)
    VANTA_SCRIPTED_OPERATION(GetCertificateStatus, krellsecurity::CertificateStatus,
                             krellsecurity::Response)
};

}  // namespace vanta::sim
