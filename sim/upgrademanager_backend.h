#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"
#include "upgrademanager.grpc.pb.h"

namespace vanta::sim {

// The upgrade manager: the device runs version "2.6.1" on the "stable"
// channel, where "2.7.0" is waiting. Choosing a channel checks it for a newer
// version; StartDownload downloads and installs it in steps, announcing the
// state ("UpgradeEvent") and the progress of each stage ("ImageUpgradeEvent")
// on the bus, then reboots into it. A scripted reply or failure overrides
// this behaviour.
class UpgradeManagerBackend final : public vanta::upgrademanager::UpgradeManager::Service,
                                    public ScriptedBackend {
    using Request = vanta::upgrademanager::Request;
    using Response = vanta::upgrademanager::Response;
    using UpgradeState = vanta::upgrademanager::UpgradeState;

  public:
    UpgradeManagerBackend() = default;
    ~UpgradeManagerBackend() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (worker_.joinable()) {
            worker_.join();
        }
    }
    UpgradeManagerBackend(const UpgradeManagerBackend&) = delete;
    UpgradeManagerBackend& operator=(const UpgradeManagerBackend&) = delete;

    // How long each step of an upgrade takes.
    void set_step(std::chrono::milliseconds step) {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = step;
    }
    // Waits until no upgrade is running; whether that came within `limit`.
    bool wait_until_settled(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return !upgrading_; });
    }

    grpc::Status GetUpgradeInfo(grpc::ServerContext* context, const Request* request,
                                vanta::upgrademanager::UpgradeInfo* response) override {
        return answer(*context, "GetUpgradeInfo", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_channel(channel_);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetUpgradeState(grpc::ServerContext* context, const Request* request,
                                 UpgradeState* response) override {
        return answer(*context, "GetUpgradeState", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_state(state_);
            return grpc::Status::OK;
        });
    }
    grpc::Status SetUpgradeChannel(grpc::ServerContext* context,
                                   const vanta::upgrademanager::UpgradeInfo* request,
                                   Response* response) override {
        return answer(*context, "SetUpgradeChannel", *request, response, [&] {
            bool available = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (upgrading_) {
                    return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION,
                                        "an upgrade is running");
                }
                channel_ = request->channel();
                available = offered_locked() != version_;
                state_ = available ? UpgradeState::UPGRADE_AVAILABLE : UpgradeState::IDLE;
            }
            bus.announce("UpgradeInfoEvent", 1, "");
            bus.announce("UpgradeInfoEvent", 3, available ? "True" : "False");
            bus.announce("UpgradeEvent", available ? 8 : 2, "");
            return grpc::Status::OK;
        });
    }
    grpc::Status SetUpgradeLimitHour(grpc::ServerContext* context,
                                     const vanta::upgrademanager::UpgradeLimitHour* request,
                                     Response* response) override {
        return answer(*context, "SetUpgradeLimitHour", *request, response, [&] {
            const int hour = request->upgrade_limit_hour();
            return hour >= 0 && hour < 24 ? grpc::Status::OK
                                          : grpc::Status(grpc::StatusCode::INVALID_ARGUMENT,
                                                         "the upgrade hour is one of 0 to 23");
        });
    }
    grpc::Status GetVersionInfo(grpc::ServerContext* context, const Request* request,
                                vanta::upgrademanager::VersionInfo* response) override {
        return answer(*context, "GetVersionInfo", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_version(version_);
            return grpc::Status::OK;
        });
    }
    grpc::Status InstallLocalPackage(
        grpc::ServerContext* context,
        const vanta::upgrademanager::InstallLocalPackageRequest* request,
        vanta::upgrademanager::InstallLocalPackageStatus* response) override {
        return answer(*context, "InstallLocalPackage", *request, response, [&] {
            response->set_status(!request->package_file_name().empty());
            return grpc::Status::OK;
        });
    }
    grpc::Status StartDownload(grpc::ServerContext* context, const Request* request,
                               Response* response) override {
        return answer(*context, "StartDownload", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (upgrading_ ||
                (state_ != UpgradeState::UPGRADE_AVAILABLE && state_ != UpgradeState::POSTPONED)) {
                return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION,
                                    "no upgrade to download");
            }
            upgrading_ = true;
            if (worker_.joinable()) {
                worker_.join();
            }
            worker_ = std::thread([this] { upgrade(); });
            return grpc::Status::OK;
        });
    }
    grpc::Status PostponeDownload(grpc::ServerContext* context,
                                  const vanta::upgrademanager::PostponeDownloadRequest* request,
                                  Response* response) override {
        return answer(*context, "PostponeDownload", *request, response, [&] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (state_ != UpgradeState::UPGRADE_AVAILABLE) {
                    return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION,
                                        "no upgrade to postpone");
                }
                state_ = UpgradeState::POSTPONED;
            }
            bus.announce("UpgradeEvent", 9, "");
            bus.announce(
                "UpgradeInfoEvent", 2, "",
                {{"message", "Upgrade postponed for " +
                                 std::to_string(request->postpone_seconds() / 60) + " minutes"}});
            return grpc::Status::OK;
        });
    }

    BusAnnouncer bus{"upgrademanager"};

  private:
    // The newest version of the current channel. REQUIRES: mutex_ held.
    std::string offered_locked() const {
        static const std::map<std::string, std::string> kNewest = {{"stable", "2.7.0"},
                                                                   {"beta", "2.8.0-beta.2"}};
        const auto found = kNewest.find(channel_);
        return found == kNewest.end() ? version_ : found->second;
    }

    // Runs on worker_: download, install, reboot, each step announced.
    void upgrade() {
        const auto stage = [&](UpgradeState::code state, int event, const std::string& name) {
            set_state(state, event);
            for (int percent = 0; percent <= 100; percent += 25) {
                if (!pause()) {
                    return false;
                }
                bus.announce("ImageUpgradeEvent", 1, std::to_string(percent), {{"stage", name}});
            }
            return true;
        };
        const bool done = stage(UpgradeState::DOWNLOADING, 5, "download") &&
                          stage(UpgradeState::INSTALLING, 1, "install");
        if (done) {
            set_state(UpgradeState::REBOOTING, 3);
            pause();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (done) {
                version_ = offered_locked();
                state_ = UpgradeState::IDLE;
            }
            upgrading_ = false;
        }
        changed_.notify_all();
        if (done) {
            bus.announce("UpgradeEvent", 2, "");
        }
    }
    void set_state(UpgradeState::code state, int event) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            state_ = state;
        }
        bus.announce("UpgradeEvent", event, "");
    }
    // One step; false when the backend is going away.
    bool pause() {
        std::unique_lock<std::mutex> lock(mutex_);
        return !changed_.wait_for(lock, step_, [&] { return stopping_; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string version_ = "2.6.1";
    std::string channel_ = "stable";
    UpgradeState::code state_ = UpgradeState::UPGRADE_AVAILABLE;
    std::chrono::milliseconds step_{300};
    bool upgrading_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace vanta::sim
