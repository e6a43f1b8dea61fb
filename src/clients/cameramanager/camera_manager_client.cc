#include "clients/cameramanager/camera_manager_client.h"

#include "clients/cameramanager/camera_manager_client_stub.h"
#include "rpc/client/grpc_exceptions.h"

namespace vanta::cameramanager {

ConnectionStateMsg CameraManagerClientStub::GetConnectionState() {
    ConnectionStateMsg message;
    message.set_state(kDisconnected);
    return message;
}

ShutterStateMsg CameraManagerClientStub::GetShutterState() {
    ShutterStateMsg message;
    message.set_state(kShutterOpened);
    return message;
}

StreamStatisticsMsg CameraManagerClientStub::GetStreamStatistics() {
    return {};
}

CameraSettings CameraManagerClientStub::GetCameraSettings() {
    throw ServiceMethodNotImplementedError("camera is not implement");
}

std::unique_ptr<CameraManagerClient> create_cameramanager_client(
    Executor& /*executor*/, std::chrono::milliseconds /*timeout*/) {
    return std::make_unique<CameraManagerClientStub>();
}

}  // namespace vanta::cameramanager
