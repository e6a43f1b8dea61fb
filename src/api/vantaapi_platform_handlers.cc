// Operations served by the platform, the problem-report services and the tone
// player.

#include "api/handler_kinds.h"
#include "api/vantaapi_impl.h"
#include "audio/tone_player.h"
#include "platform/device_identity.h"
#include "platform/manufacturing_data.h"
#include "platform/net_test_tcp.h"
#include "platform/network_interfaces.h"
#include "platform/platform_info.h"
#include "platform/system_version.h"

namespace vanta {

namespace {

std::vector<std::string> to_vector(const google::protobuf::RepeatedPtrField<std::string>& items) {
    return {items.begin(), items.end()};
}

}  // namespace

grpc::Status VantaApiImpl::GetSystemInfo(grpc::ServerContext* context,
                                         const vantaapi::SystemInfoRequest*,
                                         vantaapi::SystemInfo* response) {
    return serve(context, "GetSystemInfo", [&] {
        const std::string serial = platform::get_mfg_device_serial_number();
        response->set_software_name(platform::get_software_name());
        response->set_ua_version(platform::get_system_version());
        response->set_product_name(platform::get_product_name());
        response->set_model_name(platform::get_model_name());
        response->set_hardware_version(platform::get_mfg_device_hardware_ver());
        response->set_device_serial_number(serial);
        response->set_device_identifier(deviceidentifier::get_device_identifier(
            platform::get_mfg_device_wifi_mac_addr(), serial));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::PlayTone(grpc::ServerContext* context,
                                    const vantaapi::PlayToneRequest* request,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "PlayTone", [&] {
        const auto player = audio::get_tone_player(false, endpoints_);
        if (!player) {
            logger_.error("Can't get TonePlayer");
            response->set_success(false);
            return grpc::Status::OK;
        }
        const int tone = request->type();
        if (tone > audio::TONE_RINGBACK) {
            // The caller sees the reason rather than gRPC's text for an
            // escaped exception.
            return grpc::Status(grpc::StatusCode::UNKNOWN, "Unknown tone type");
        }
        response->set_success(
            player->play_tone(static_cast<audio::ToneType>(tone), request->in_loop()));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::StopTone(grpc::ServerContext* context, const google::protobuf::Empty*,
                                    vantaapi::RequestStatus* response) {
    return serve(context, "StopTone", [&] {
        const auto player = audio::get_tone_player(false, endpoints_);
        if (!player) {
            logger_.error("Can't get TonePlayer");
            response->set_success(false);
            return grpc::Status::OK;
        }
        response->set_success(player->stop());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetInterfaceInfo(grpc::ServerContext* context,
                                            const vantaapi::InterfaceInfoRequest* request,
                                            vantaapi::InterfaceInfo* response) {
    return serve(context, "GetInterfaceInfo", [&] {
        return api::answer_or_unavailable(
            platform::get_mac_address(request->interface_name()), "get mac address FAILED",
            [&](const std::string& mac) { response->set_mac_address(mac); });
    });
}

grpc::Status VantaApiImpl::TestUrlConnect(grpc::ServerContext* context,
                                          const vantaapi::TestUrl* request,
                                          vantaapi::TestUrlResponse* response) {
    return serve(context, "TestUrlConnect", [&] {
        nettest::NetTestTCP tester;
        const int result = tester.open_tcp(request->name(), request->port());
        response->set_ret_int_code(result);
        response->set_ret_str_code(nettest::NetTestTCP::return_2_string(result));
        response->set_ret_str_addr(tester.get_ip_address());
        if (result == nettest::kPassed) {
            tester.close_tcp();
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::UploadPRB(grpc::ServerContext* context,
                                     const vantaapi::UploadPRBRequest* request,
                                     vantaapi::RequestStatus* response) {
    return serve(context, "UploadPRB", [&] {
        // The upload runs on: the answer says it was started.
        const auto upload = problemreporter_client_->user_problem_report(
            request->description(), problemreporter::CLOUD, to_vector(request->collection_flags()));
        response->set_success(upload.valid());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetPRB(grpc::ServerContext* context,
                                  const vantaapi::GetPRBRequest* request,
                                  vantaapi::RequestStatus* response) {
    return serve(context, "GetPRB", [&] {
        // A bundle on the device's own disk; the answer says it was started.
        const auto upload = problemreporter_client_->user_problem_report(
            "", problemreporter::LOCAL_DISK, to_vector(request->collection_flags()));
        response->set_success(upload.valid());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetPRBStatus(grpc::ServerContext* context,
                                        const vantaapi::GetPRBStatusRequest*,
                                        vantaapi::PRBStatuses* response) {
    return serve(context, "GetPRBStatus", [&] {
        const auto reports = problemreportstatus_client_->GetProblemReports();
        for (const auto& bundle : reports.bundles()) {
            auto& status = *response->add_bundles();
            status.set_problemreport_id(bundle.problemreport_id());
            *status.mutable_sources() = bundle.sources();
            for (const auto& event : bundle.events()) {
                auto& copy = *status.add_events();
                copy.set_name(event.name());
                copy.set_event_message(event.event_message());
                copy.set_timepoint(event.timepoint());
            }
            status.set_bundle_name(bundle.bundle_name());
            status.set_description(bundle.description());
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetPRBFileLocation(grpc::ServerContext* context,
                                              const vantaapi::GetPRBFilePathRequest* request,
                                              vantaapi::PRBFileLocation* response) {
    return serve(context, "GetPRBFileLocation", [&] {
        std::string path;
        const grpc::Status status = api::guarded("GetPRBFileLocation", [&] {
            path = problemreporter_client_->get_prb_file_location(request->problemreport_id());
        });
        response->set_bundle_path(path);
        return status;
    });
}

}  // namespace vanta
