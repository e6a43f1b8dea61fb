#pragma once

// The tables of the vanta-cli tests, read from cli_cases.json in this folder,
// and the small API service they call.

#include <grpcpp/grpcpp.h>
#include <nlohmann/json.hpp>

#include "support/bus_translation_table.h"
#include "support/data_files.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

inline nlohmann::json cli_cases(const char* table) {
    return read_json(CLI_CASES_FILE).at(table);
}

// Answers UXWakeUp with success exactly for BUTTON; refuses UXStandby and,
// as a daemon whose backend is down does, GetCurrentVolume. Sends three
// events on every subscription, then ends the stream.
class SmallApi final : public vantaapi::VantaApi::Service {
  public:
    grpc::Status UXWakeUp(grpc::ServerContext*, const vantaapi::UXWakeUpRequest* request,
                          vantaapi::RequestStatus* response) override {
        response->set_success(request->trigger() == vantaapi::UXWakeUpRequest::BUTTON);
        return grpc::Status::OK;
    }
    grpc::Status UXStandby(grpc::ServerContext*, const google::protobuf::Empty*,
                           google::protobuf::Empty*) override {
        return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION, "asleep\nalready");
    }
    grpc::Status GetCurrentVolume(grpc::ServerContext*, const google::protobuf::Empty*,
                                  vantaapi::VolumeStatus*) override {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, "VolumeManager is not reachable");
    }
    grpc::Status Subscribe(
        grpc::ServerContext*,
        grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream)
        override {
        for (const char* event : {"subscription_status { status: STREAM_STARTED }",
                                  "new_ui_volume_state { volume: '35' }",
                                  "new_ui_mute_state { state: MUTE_ENABLED }"}) {
            stream->Write(from_text<vantaapi::VantaEvent>(event));
        }
        return grpc::Status::OK;
    }
};

}  // namespace vanta::testing
