#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <memory>

#include "clients/cameramanager/camera_manager_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Self view, camera state and camera controls, through the camera manager's
// client; a change of the camera's connection or shutter becomes a
// `camera_state` event (published on the client's stream thread). The plugin
// keeps no camera state of its own.
class CameraPlugin {
  public:
    CameraPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 PluginRegistrar& registrar);
    // The same around `client`.
    CameraPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 std::unique_ptr<cameramanager::CameraManagerClient> client);
    CameraPlugin(const CameraPlugin&) = delete;
    CameraPlugin& operator=(const CameraPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status StartSelfView(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               google::protobuf::Empty* response);
    grpc::Status StopSelfView(grpc::ServerContext* context, const google::protobuf::Empty* request,
                              google::protobuf::Empty* response);
    grpc::Status ChangeVideoBackgroundEffect(
        grpc::ServerContext* context, const vantaapi::ChangeVideoBackgroundEffectRequest* request,
        google::protobuf::Empty* response);
    grpc::Status GetCameraState(grpc::ServerContext* context,
                                const google::protobuf::Empty* request,
                                vantaapi::CameraState* response);
    grpc::Status GetCameraStreamStatistics(grpc::ServerContext* context,
                                           const google::protobuf::Empty* request,
                                           vantaapi::CameraStreamStatistics* response);
    grpc::Status Zoom(grpc::ServerContext* context, const vantaapi::CameraFocalLength* request,
                      google::protobuf::Empty* response);
    grpc::Status AdjustCameraBrightness(grpc::ServerContext* context,
                                        const vantaapi::CameraBrightness* request,
                                        vantaapi::RequestStatus* response);
    grpc::Status Move(grpc::ServerContext* context, const vantaapi::CameraMoveRequest* request,
                      vantaapi::RequestStatus* response);
    grpc::Status GetCameraSettings(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::CameraSettings* response);

  private:
    void handle_event(const cameramanager::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<cameramanager::CameraManagerClient> client_;
};

}  // namespace vanta
