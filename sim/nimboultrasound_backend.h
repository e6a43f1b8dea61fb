#pragma once

#include <mutex>
#include <string>

#include <google/protobuf/empty.pb.h>

#include "nimboultrasound.grpc.pb.h"
#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The ultrasound pairing service: on, with one paired user, a guest token and
// a six-digit manual pairing PIN. Switching it on again draws a new token and
// PIN and announces both ("GuestTokenEvent" 1, "ManualPairEvent" 1); while
// off it plays no token. A scripted reply or failure overrides this behaviour.
class NimboUltrasoundBackend final : public nimboultrasound::NimboUltraSoundSvc::Service,
                                     public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using TokenResponse = nimboultrasound::TokenResponse;

  public:
    grpc::Status Enable(grpc::ServerContext* context, const Empty* request,
                        nimboultrasound::Response* response) override {
        return answer(*context, "Enable", *request, response, [&] {
            bool renewed = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                renewed = state_ == nimboultrasound::DISABLE;
                state_ = nimboultrasound::ENABLE;
                generation_ += renewed ? 1 : 0;
            }
            if (renewed) {
                bus.announce("GuestTokenEvent", 1, "");
                bus.announce("ManualPairEvent", 1, "");
            }
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status Disable(grpc::ServerContext* context, const Empty* request,
                         nimboultrasound::Response* response) override {
        return answer(*context, "Disable", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            state_ = nimboultrasound::DISABLE;
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetServiceState(grpc::ServerContext* context, const Empty* request,
                                 nimboultrasound::StateResponse* response) override {
        return answer(*context, "GetServiceState", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_state(state_);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetPairedUsers(grpc::ServerContext* context, const Empty* request,
                                nimboultrasound::PairedUsers* response) override {
        return answer(*context, "GetPairedUsers", *request, response, [&] {
            auto& user = *response->add_users();
            user.set_name("Robin Meyer");
            user.set_uuid("5f0c2a7e-91d3-4b8e-a6f2-3c1d0e9b7a44");
            return grpc::Status::OK;
        });
    }
    grpc::Status GetLatestPairingToken(grpc::ServerContext* context, const Empty* request,
                                       TokenResponse* response) override {
        return answer(*context, "GetLatestPairingToken", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (state_ == nimboultrasound::ENABLE) {
                response->set_token(token_locked("P"));
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status GetGuestToken(grpc::ServerContext* context, const Empty* request,
                               TokenResponse* response) override {
        return answer(*context, "GetGuestToken", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_token(token_locked("G"));
            return grpc::Status::OK;
        });
    }
    grpc::Status GetManualPairPin(grpc::ServerContext* context, const Empty* request,
                                  nimboultrasound::PinResponse* response) override {
        return answer(*context, "GetManualPairPin", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_pin(std::to_string(428613 + 7919 * generation_ % 571387));
            return grpc::Status::OK;
        });
    }

    BusAnnouncer bus{"nimboultrasound"};

  private:
    // "<kind>-4F7A-93C2"-like, different for each generation. REQUIRES: mutex_ held.
    std::string token_locked(const std::string& kind) const {
        static const char kHex[] = "0123456789ABCDEF";
        unsigned value = 0x4F7A93C2u + 0x9E3779B9u * static_cast<unsigned>(generation_);
        std::string token = kind + "-";
        for (int digit = 7; digit >= 0; --digit) {
            token += kHex[(value >> (4 * digit)) & 0xF];
            if (digit == 4) {
                token += '-';
            }
        }
        return token;
    }

    std::mutex mutex_;
    nimboultrasound::NimboUltraSoundState state_ = nimboultrasound::ENABLE;
    int generation_ = 0;
};

}  // namespace vanta::sim
