#pragma once

#include <mutex>
#include <string>

#include "featuremanager.grpc.pb.h"
#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The feature manager: a few features, some on; switching one announces
// "FeatureToggleEvent" on the bus (1 with "value" "1" when on, 2 when off).
// A scripted reply or failure overrides this behaviour.
class FeatureManagerBackend final : public vanta::featuremanager::FeatureManager::Service,
                                    public ScriptedBackend {
    using FeatureInfo = vanta::featuremanager::FeatureInfo;
    using FeatureInfoRequest = vanta::featuremanager::FeatureInfoRequest;
    using RequestResult = vanta::featuremanager::RequestResult;

  public:
    FeatureManagerBackend() {
        add("ultrasound_pairing", vanta::featuremanager::ENABLE, vanta::featuremanager::PRODUCTION);
        add("wireless_share", vanta::featuremanager::ENABLE, vanta::featuremanager::PRODUCTION);
        add("noise_suppression", vanta::featuremanager::DISABLE, vanta::featuremanager::PRODUCTION);
        add("room_analytics", vanta::featuremanager::DISABLE, vanta::featuremanager::DEVELOPMENT);
    }

    grpc::Status GetFeatureInfo(grpc::ServerContext* context, const FeatureInfoRequest* request,
                                FeatureInfo* response) override {
        return answer(*context, "GetFeatureInfo", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            const FeatureInfo* found = find_locked(request->feature_name());
            if (found == nullptr) {
                return grpc::Status(grpc::StatusCode::NOT_FOUND,
                                    "no feature " + request->feature_name());
            }
            *response = *found;
            return grpc::Status::OK;
        });
    }
    grpc::Status GetAllFeatures(grpc::ServerContext* context,
                                const vanta::featuremanager::Empty* request,
                                vanta::featuremanager::AllFeatures* response) override {
        return answer(*context, "GetAllFeatures", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            *response = features_;
            return grpc::Status::OK;
        });
    }
    grpc::Status EnableFeature(grpc::ServerContext* context, const FeatureInfoRequest* request,
                               RequestResult* response) override {
        return answer(*context, "EnableFeature", *request, response,
                      [&] { return toggle(request->feature_name(), true, response); });
    }
    grpc::Status DisableFeature(grpc::ServerContext* context, const FeatureInfoRequest* request,
                                RequestResult* response) override {
        return answer(*context, "DisableFeature", *request, response,
                      [&] { return toggle(request->feature_name(), false, response); });
    }

    BusAnnouncer bus{"featuremanager"};

  private:
    void add(const std::string& name, vanta::featuremanager::FeatureState state,
             vanta::featuremanager::FeatureType type) {
        FeatureInfo& feature = *features_.add_features();
        feature.set_feature_name(name);
        feature.set_feature_state(state);
        feature.set_feature_type(type);
    }
    // REQUIRES: mutex_ held.
    FeatureInfo* find_locked(const std::string& name) {
        for (auto& feature : *features_.mutable_features()) {
            if (feature.feature_name() == name) {
                return &feature;
            }
        }
        return nullptr;
    }
    // An unknown feature is not switched (success false).
    grpc::Status toggle(const std::string& name, bool on, RequestResult* response) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            FeatureInfo* feature = find_locked(name);
            if (feature == nullptr) {
                response->set_success(false);
                return grpc::Status::OK;
            }
            feature->set_feature_state(on ? vanta::featuremanager::ENABLE
                                          : vanta::featuremanager::DISABLE);
        }
        if (on) {
            bus.announce("FeatureToggleEvent", 1, "", {{"name", name}, {"value", "1"}});
        } else {
            bus.announce("FeatureToggleEvent", 2, "", {{"name", name}});
        }
        response->set_success(true);
        return grpc::Status::OK;
    }

    std::mutex mutex_;
    vanta::featuremanager::AllFeatures features_;
};

}  // namespace vanta::sim
