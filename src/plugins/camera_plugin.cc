#include "plugins/camera_plugin.h"

#include <chrono>
#include <utility>

#include "plugins/shared_enum_member.h"
#include "rpc/client/grpc_exception_handler.h"

using namespace std::chrono_literals;

namespace vanta {

namespace {

vantaapi::ConnectState to_api_connection(cameramanager::ConnectionState state) {
    return plugins::shared_enum_member<vantaapi::ConnectState>(
        state, vantaapi::ConnectState_IsValid, "camera connection state");
}

vantaapi::ShutterState to_api_shutter(cameramanager::ShutterState state) {
    return plugins::shared_enum_member<vantaapi::ShutterState>(
        state, vantaapi::ShutterState_IsValid, "camera shutter state");
}

}  // namespace

CameraPlugin::CameraPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar&)
    : CameraPlugin(publisher, cameramanager::create_cameramanager_client(executor, 2000ms)) {}

CameraPlugin::CameraPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           std::unique_ptr<cameramanager::CameraManagerClient> client)
    : publisher_(publisher), client_(std::move(client)) {
    client_->SetObserver([this](const cameramanager::Event& event) { handle_event(event); }, [] {});
}

// An event carries the one state that changed; the other is asked for, so
// that subscribers always see the whole camera state.
void CameraPlugin::handle_event(const cameramanager::Event& event) {
    vantaapi::VantaEvent published;
    vantaapi::CameraState& state = *published.mutable_camera_state();
    switch (event.data_case()) {
        case cameramanager::Event::kConnectionState:
            state.set_connection_state(to_api_connection(event.connection_state()));
            state.set_shutter_state(to_api_shutter(client_->GetShutterState().state()));
            break;
        case cameramanager::Event::kShutterState:
            state.set_connection_state(to_api_connection(client_->GetConnectionState().state()));
            state.set_shutter_state(to_api_shutter(event.shutter_state()));
            break;
        default:
            return;
    }
    publisher_.publish(published);
}

grpc::Status CameraPlugin::StartSelfView(grpc::ServerContext*, const google::protobuf::Empty*,
                                         google::protobuf::Empty*) {
    return grpc_exception_handler("StartSelfView", [&] { client_->StartSelfView(); });
}

grpc::Status CameraPlugin::StopSelfView(grpc::ServerContext*, const google::protobuf::Empty*,
                                        google::protobuf::Empty*) {
    return grpc_exception_handler("StopSelfView", [&] { client_->StopSelfView(); });
}

grpc::Status CameraPlugin::ChangeVideoBackgroundEffect(
    grpc::ServerContext*, const vantaapi::ChangeVideoBackgroundEffectRequest* request,
    google::protobuf::Empty*) {
    return grpc_exception_handler("ChangeVideoBackgroundEffect", [&] {
        client_->ChangeVideoBackgroundEffect(request->effect_id());
    });
}

// The camera manager reports the connection and the shutter; whether a self
// view runs and its background effect are not reported (false and 0).
grpc::Status CameraPlugin::GetCameraState(grpc::ServerContext*, const google::protobuf::Empty*,
                                          vantaapi::CameraState* response) {
    return grpc_exception_handler("GetCameraState", [&] {
        response->set_connection_state(to_api_connection(client_->GetConnectionState().state()));
        response->set_shutter_state(to_api_shutter(client_->GetShutterState().state()));
    });
}

grpc::Status CameraPlugin::GetCameraStreamStatistics(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::CameraStreamStatistics* response) {
    return grpc_exception_handler("GetCameraStreamStatistics", [&] {
        const cameramanager::StreamStatisticsMsg statistics = client_->GetStreamStatistics();
        response->set_frame_rate(statistics.frame_rate());
        response->set_total_frame_count(statistics.total_frame_count());
    });
}

grpc::Status CameraPlugin::Zoom(grpc::ServerContext*, const vantaapi::CameraFocalLength* request,
                                google::protobuf::Empty*) {
    return grpc_exception_handler("CameraZoom", [&] { client_->Zoom(request->length()); });
}

grpc::Status CameraPlugin::AdjustCameraBrightness(grpc::ServerContext*,
                                                  const vantaapi::CameraBrightness* request,
                                                  vantaapi::RequestStatus* response) {
    return grpc_exception_handler("AdjustCameraBrightness", [&] {
        response->set_success(client_->AdjustBrightness(request->brightness()));
    });
}

grpc::Status CameraPlugin::Move(grpc::ServerContext*, const vantaapi::CameraMoveRequest* request,
                                vantaapi::RequestStatus* response) {
    return grpc_exception_handler("CameraMove", [&] {
        response->set_success(client_->Move(request->axis(), request->distance()));
    });
}

grpc::Status CameraPlugin::GetCameraSettings(grpc::ServerContext*, const google::protobuf::Empty*,
                                             vantaapi::CameraSettings* response) {
    return grpc_exception_handler("GetCameraSettings", [&] {
        const cameramanager::CameraSettings settings = client_->GetCameraSettings();
        // The camera manager's brightness is unsigned, the API's signed.
        response->set_brightness(static_cast<int32_t>(settings.brightness()));
        response->set_saturation(settings.saturation());
        response->set_hue(settings.hue());
        response->set_auto_focus(settings.auto_focus());
        response->set_focal_length(settings.focal_length());
        response->set_horizontal_value(settings.horizontal_value());
        response->set_vertical_value(settings.vertical_value());
    });
}

}  // namespace vanta
