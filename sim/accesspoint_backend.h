#pragma once

#include <mutex>

#include <google/protobuf/empty.pb.h>

#include "accesspoint.grpc.pb.h"
#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The access-point service: the device's own set-up network, off until
// switched on, with its configuration kept; switching it announces
// "APModeEvent" on the bus (1 with the configuration, 2 when off). A scripted
// reply or failure overrides this behaviour.
class AccessPointBackend final : public accesspoint::AccessPoint::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using Configuration = accesspoint::LocalAPConfiguration;

  public:
    AccessPointBackend() {
        config_.set_ssid("Vanta-Setup-4F2A");
        config_.set_passphrase("setup-7781-koala");
        config_.set_ip_address("192.168.4.1");
    }

    grpc::Status GetAPModeState(grpc::ServerContext* context, const Empty* request,
                                accesspoint::StateResponse* response) override {
        return answer(*context, "GetAPModeState", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_state(state_);
            return grpc::Status::OK;
        });
    }
    grpc::Status SetAPModeState(grpc::ServerContext* context,
                                const accesspoint::StateRequest* request,
                                accesspoint::APModeEnableResponse* response) override {
        return answer(*context, "SetAPModeState", *request, response, [&] {
            const auto wanted = request->state();
            if (wanted != accesspoint::ENABLED && wanted != accesspoint::DISABLED) {
                return grpc::Status(grpc::StatusCode::INVALID_ARGUMENT,
                                    "access point state must be ENABLED or DISABLED");
            }
            Configuration config;
            bool changed = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                changed = state_ != wanted;
                state_ = wanted;
                config = config_;
            }
            if (changed && wanted == accesspoint::ENABLED) {
                bus.announce("APModeEvent", 1, "",
                             {{"ssid", config.ssid()},
                              {"passphrase", config.passphrase()},
                              {"ip_address", config.ip_address()}});
            } else if (changed) {
                bus.announce("APModeEvent", 2, "");
            }
            response->set_enable(wanted == accesspoint::ENABLED);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetLocalAPConfig(grpc::ServerContext* context, const Empty* request,
                                  Configuration* response) override {
        return answer(*context, "GetLocalAPConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            *response = config_;
            return grpc::Status::OK;
        });
    }
    grpc::Status SetLocalAPConfig(grpc::ServerContext* context, const Configuration* request,
                                  accesspoint::RequestStatus* response) override {
        return answer(*context, "SetLocalAPConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            config_ = *request;
            response->set_success(true);
            return grpc::Status::OK;
        });
    }

    BusAnnouncer bus{"accesspoint"};

  private:
    std::mutex mutex_;
    accesspoint::APModeState state_ = accesspoint::DISABLED;
    Configuration config_;
};

}  // namespace vanta::sim
