#pragma once

#include "certificatemanager.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The certificate manager.
class CertificateManagerBackend final
    : public vanta::certificatemanager::CertificateManager::Service,
      public ScriptedBackend {
    using CSRRequest = vanta::certificatemanager::CSRRequest;
    using CSRResp = vanta::certificatemanager::CSRResp;
    using CSRRetrieveReq = vanta::certificatemanager::CSRRetrieveReq;
    using CSRRetrieveResp = vanta::certificatemanager::CSRRetrieveResp;
    using LocalPublicKeySave = vanta::certificatemanager::LocalPublicKeySave;
    using LocalPublicKeyResp = vanta::certificatemanager::LocalPublicKeyResp;
    using CACertSave = vanta::certificatemanager::CACertSave;
    using CACertSaveResp = vanta::certificatemanager::CACertSaveResp;
    using CustomCACertSave = vanta::certificatemanager::CustomCACertSave;
    using CustomCACertResp = vanta::certificatemanager::CustomCACertResp;
    using CertListQuery = vanta::certificatemanager::CertListQuery;
    using CertListResp = vanta::certificatemanager::CertListResp;
    using CertInfoQuery = vanta::certificatemanager::CertInfoQuery;
    using CertInfoResp = vanta::certificatemanager::CertInfoResp;
    using CertDeleteReq = vanta::certificatemanager::CertDeleteReq;
    using CertDeleteResp = vanta::certificatemanager::CertDeleteResp;
    using CertRetrieveReq = vanta::certificatemanager::CertRetrieveReq;
    using CertRetrieveResp = vanta::certificatemanager::CertRetrieveResp;

  public:
    VANTA_SCRIPTED_OPERATION(CertGenerateCSR, CSRRequest, CSRResp)
    VANTA_SCRIPTED_OPERATION(CertRetrieveCSR, CSRRetrieveReq, CSRRetrieveResp)
    VANTA_SCRIPTED_OPERATION(CertSaveLocalPublicKey, LocalPublicKeySave, LocalPublicKeyResp)
    VANTA_SCRIPTED_OPERATION(CertSaveCACert, CACertSave, CACertSaveResp)
    VANTA_SCRIPTED_OPERATION(CertSaveCustomCACert, CustomCACertSave, CustomCACertResp)
    VANTA_SCRIPTED_OPERATION(CertGetList, CertListQuery, CertListResp)
    VANTA_SCRIPTED_OPERATION(CertGetInfo, CertInfoQuery, CertInfoResp)
    VANTA_SCRIPTED_OPERATION(CertDelete, CertDeleteReq, CertDeleteResp)
    VANTA_SCRIPTED_OPERATION(CertRetrieveCert, CertRetrieveReq, CertRetrieveResp)
};

}  // namespace vanta::sim
