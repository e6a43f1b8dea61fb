#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class CameraPlugin {
  public:
    CameraPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 PluginRegistrar& registrar);
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
};

}  // namespace vanta
