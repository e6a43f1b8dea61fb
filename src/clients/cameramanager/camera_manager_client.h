#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "cameramanager.pb.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::cameramanager {

// The camera manager backend: self view, camera state and controls.
class CameraManagerClient : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual void StartSelfView() = 0;
    virtual void StopSelfView() = 0;
    virtual ConnectionStateMsg GetConnectionState() = 0;
    virtual ShutterStateMsg GetShutterState() = 0;
    virtual StreamStatisticsMsg GetStreamStatistics() = 0;
    virtual void ChangeVideoBackgroundEffect(int effect) = 0;
    virtual void Zoom(unsigned level) = 0;
    virtual bool AdjustBrightness(int level) = 0;
    virtual bool Move(const std::string& direction, int step) = 0;
    // Throws ServiceMethodNotImplementedError where the camera cannot say.
    virtual CameraSettings GetCameraSettings() = 0;
};

// The device's camera manager is never contacted: the client is the
// in-process substitute.
std::unique_ptr<CameraManagerClient> create_cameramanager_client(Executor& executor,
                                                                 std::chrono::milliseconds timeout);

}  // namespace vanta::cameramanager
