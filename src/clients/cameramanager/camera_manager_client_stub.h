#pragma once

#include <string>

#include "clients/cameramanager/camera_manager_client.h"
#include "rpc/client/grpc_client_stub.h"

namespace vanta::cameramanager {

// Stands in for the camera manager: a disconnected camera with an open
// shutter and no frames; controls do nothing and the settings are not known.
class CameraManagerClientStub final : public GrpcObservableClientStub<CameraManagerClient, Event> {
  public:
    void StartSelfView() override {}
    void StopSelfView() override {}
    ConnectionStateMsg GetConnectionState() override;
    ShutterStateMsg GetShutterState() override;
    StreamStatisticsMsg GetStreamStatistics() override;
    void ChangeVideoBackgroundEffect(int /*effect*/) override {}
    void Zoom(unsigned /*level*/) override {}
    bool AdjustBrightness(int /*level*/) override { return false; }
    bool Move(const std::string& /*direction*/, int /*step*/) override { return false; }
    CameraSettings GetCameraSettings() override;
};

}  // namespace vanta::cameramanager
