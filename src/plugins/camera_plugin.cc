#include "plugins/camera_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

CameraPlugin::CameraPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                           PluginRegistrar&) {}

grpc::Status CameraPlugin::StartSelfView(grpc::ServerContext*, const google::protobuf::Empty*,
                                         google::protobuf::Empty*) {
    return not_available_yet("CameraPlugin::StartSelfView");
}

grpc::Status CameraPlugin::StopSelfView(grpc::ServerContext*, const google::protobuf::Empty*,
                                        google::protobuf::Empty*) {
    return not_available_yet("CameraPlugin::StopSelfView");
}

grpc::Status CameraPlugin::ChangeVideoBackgroundEffect(
    grpc::ServerContext*, const vantaapi::ChangeVideoBackgroundEffectRequest*,
    google::protobuf::Empty*) {
    return not_available_yet("CameraPlugin::ChangeVideoBackgroundEffect");
}

grpc::Status CameraPlugin::GetCameraState(grpc::ServerContext*, const google::protobuf::Empty*,
                                          vantaapi::CameraState*) {
    return not_available_yet("CameraPlugin::GetCameraState");
}

grpc::Status CameraPlugin::GetCameraStreamStatistics(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::CameraStreamStatistics*) {
    return not_available_yet("CameraPlugin::GetCameraStreamStatistics");
}

grpc::Status CameraPlugin::Zoom(grpc::ServerContext*, const vantaapi::CameraFocalLength*,
                                google::protobuf::Empty*) {
    return not_available_yet("CameraPlugin::Zoom");
}

grpc::Status CameraPlugin::AdjustCameraBrightness(grpc::ServerContext*,
                                                  const vantaapi::CameraBrightness*,
                                                  vantaapi::RequestStatus*) {
    return not_available_yet("CameraPlugin::AdjustCameraBrightness");
}

grpc::Status CameraPlugin::Move(grpc::ServerContext*, const vantaapi::CameraMoveRequest*,
                                vantaapi::RequestStatus*) {
    return not_available_yet("CameraPlugin::Move");
}

grpc::Status CameraPlugin::GetCameraSettings(grpc::ServerContext*, const google::protobuf::Empty*,
                                             vantaapi::CameraSettings*) {
    return not_available_yet("CameraPlugin::GetCameraSettings");
}

}  // namespace vanta
