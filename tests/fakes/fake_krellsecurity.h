#pragma once

#include "fakes/scripted_backend.h"
#include "krellsecurity.grpc.pb.h"

namespace vanta::testing {

// The on-premises security service: scripted replies, recorded requests.
class FakeKrellSecurity final : public krellsecurity::KrellSecurity::Service,
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

}  // namespace vanta::testing
