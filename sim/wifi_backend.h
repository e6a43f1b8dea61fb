#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include <google/protobuf/empty.pb.h>

#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"
#include "wifi.grpc.pb.h"

namespace vanta::sim {

// The Wi-Fi service: a radio that sees a few networks nearby, joins the one
// it is configured for when it is in range, and announces connection, signal,
// enable and configuration changes on the bus ("WifiConnectionEvent", ...).
// A scripted reply or failure overrides this behaviour.
class WifiBackend final : public wifi::Wifi::Service, public ScriptedBackend {
    using Empty = wifi::Empty;
    using RequestStatus = wifi::RequestStatus;

  public:
    // The networks the radio sees.
    static wifi::NetworkList nearby_networks() {
        wifi::NetworkList list;
        const auto add = [&](const char* ssid, const char* rssi, const char* frequency,
                             const char* bssid, const char* flags) {
            wifi::NetworkInfo& network = *list.add_network_list();
            network.set_ssid(ssid);
            network.set_rssi(rssi);
            network.set_frequency(frequency);
            network.set_bssid(bssid);
            network.set_flags(flags);
        };
        add("Meeting-Rooms", "-48", "5180", "3c:84:6a:12:7e:01", "[WPA2-PSK-CCMP][ESS]");
        add("Office-Guest", "-61", "2437", "3c:84:6a:12:7e:02", "[ESS]");
        add("Lab-Corp", "-70", "5500", "a0:63:91:4d:20:1c", "[WPA2-EAP-CCMP][ESS]");
        add("Printer-Direct-4F", "-82", "2412", "f4:30:b9:08:66:5e", "[WPA2-PSK-CCMP][ESS][WPS]");
        return list;
    }

    grpc::Status Enable(grpc::ServerContext* context, const Empty* request,
                        RequestStatus* response) override {
        return answer(*context, "Enable", *request, response, [&] {
            set_enabled(true);
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status Disable(grpc::ServerContext* context, const Empty* request,
                         RequestStatus* response) override {
        return answer(*context, "Disable", *request, response, [&] {
            set_enabled(false);
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status IsEnabled(grpc::ServerContext* context, const Empty* request,
                           wifi::WifiEnabled* response) override {
        return answer(*context, "IsEnabled", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_enabled(enabled_);
            return grpc::Status::OK;
        });
    }
    // Connects to the network `request` names when it is nearby.
    grpc::Status SetConfig(grpc::ServerContext* context, const wifi::ConfigInfo* request,
                           RequestStatus* response) override {
        return answer(*context, "SetConfig", *request, response, [&] {
            if (request->ssid().empty()) {
                response->set_success(false);
                return grpc::Status::OK;
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                config_ = *request;
            }
            bus.announce("WifiConfigChangeEvent", 0, "");
            reconnect();
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetConfig(grpc::ServerContext* context, const Empty* request,
                           wifi::Configuration* response) override {
        return answer(*context, "GetConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (config_) {
                response->set_ssid(config_->ssid());
                response->set_frequency_band(config_->frequency_band());
                response->set_security_method(config_->security_method());
                response->set_ca_cert_file(config_->ca_cert_file());
            }
            return grpc::Status::OK;
        });
    }
    // Forgets the network and leaves it.
    grpc::Status ClearConfig(grpc::ServerContext* context, const Empty* request,
                             RequestStatus* response) override {
        return answer(*context, "ClearConfig", *request, response, [&] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                config_.reset();
            }
            bus.announce("WifiConfigChangeEvent", 0, "");
            reconnect();
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetStatus(grpc::ServerContext* context, const Empty* request,
                           wifi::WifiStatus* response) override {
        return answer(*context, "GetStatus", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_status(status_locked());
            return grpc::Status::OK;
        });
    }
    grpc::Status GetSupplicantStatus(grpc::ServerContext* context, const Empty* request,
                                     wifi::SupplicantStatus* response) override {
        return answer(*context, "GetSupplicantStatus", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            switch (status_locked()) {
                case wifi::CONNECTED:
                    response->set_status("COMPLETED");
                    break;
                case wifi::INTERFACE_DISABLED:
                    response->set_status("INTERFACE_DISABLED");
                    break;
                case wifi::NOT_CONFIGURED:
                    response->set_status("INACTIVE");
                    break;
                default:
                    response->set_status("DISCONNECTED");
                    break;
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status GetNetworkList(grpc::ServerContext* context, const Empty* request,
                                wifi::NetworkList* response) override {
        return answer(*context, "GetNetworkList", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (enabled_) {
                *response = nearby_networks();
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status GetStatistics(grpc::ServerContext* context, const Empty* request,
                               wifi::WifiStatistics* response) override {
        return answer(*context, "GetStatistics", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (connected_) {
                response->set_tx_bytes(18'734'112);
                response->set_rx_bytes(96'220'584);
                response->set_tx_pkts(61'204);
                response->set_rx_pkts(88'915);
                response->set_retries(412);
                response->set_connected_time(3'615);
                response->set_signal(static_cast<uint32_t>(-std::stoi(connected_->rssi())));
                response->set_expected_throughput(173'000);
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status StartScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
                           RequestStatus* response) override {
        return answer(*context, "StartScan", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            scanning_ = enabled_;
            response->set_success(enabled_);
            return grpc::Status::OK;
        });
    }
    grpc::Status StopScan(grpc::ServerContext* context, const google::protobuf::Empty* request,
                          RequestStatus* response) override {
        return answer(*context, "StopScan", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            scanning_ = false;
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status IsScanStarted(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               wifi::ScanStarted* response) override {
        return answer(*context, "IsScanStarted", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_started(scanning_);
            return grpc::Status::OK;
        });
    }

    BusAnnouncer bus{"wifi"};

  private:
    // The bus's name of the level of a signal of `rssi` dBm.
    static const char* signal_level_of(const std::string& rssi) {
        const int dbm = std::stoi(rssi);
        return dbm >= -55   ? "SIGNAL_LEVEL_FOUR"
               : dbm >= -65 ? "SIGNAL_LEVEL_THREE"
               : dbm >= -75 ? "SIGNAL_LEVEL_TWO"
                            : "SIGNAL_LEVEL_ONE";
    }

    void set_enabled(bool enabled) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (enabled_ == enabled) {
                return;
            }
            enabled_ = enabled;
            scanning_ = scanning_ && enabled;
        }
        bus.announce("WifiEnableStateEvent", 0, enabled ? "True" : "False");
        reconnect();
    }

    // Joins the configured network if the radio is on and sees it, leaves
    // the current one otherwise, and announces what changed.
    void reconnect() {
        std::optional<wifi::NetworkInfo> joined;
        std::optional<wifi::NetworkInfo> left;
        bool not_found = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            std::optional<wifi::NetworkInfo> target;
            if (enabled_ && config_) {
                const wifi::NetworkList nearby = nearby_networks();
                for (const auto& network : nearby.network_list()) {
                    if (network.ssid() == config_->ssid()) {
                        target = network;
                    }
                }
                not_found = !target;
            }
            const bool same = target && connected_ && target->ssid() == connected_->ssid();
            if (same) {
                return;
            }
            left = connected_;
            connected_ = target;
            joined = target;
        }
        if (left) {
            bus.announce("WifiConnectionEvent", 1, "left " + left->ssid());
        }
        if (joined) {
            bus.announce("WifiConnectionEvent", 0, joined->ssid());
            bus.announce("WifiSignalLevelEvent", 0, signal_level_of(joined->rssi()));
        } else if (not_found) {
            bus.announce("WifiConnectionEvent", 2, "no network in range");
        }
    }

    // REQUIRES: mutex_ held.
    wifi::WifiStatusType status_locked() const {
        if (!enabled_) {
            return wifi::INTERFACE_DISABLED;
        }
        if (!config_) {
            return wifi::NOT_CONFIGURED;
        }
        return connected_ ? wifi::CONNECTED : wifi::DISCONNECTED;
    }

    std::mutex mutex_;
    bool enabled_ = true;
    bool scanning_ = false;
    std::optional<wifi::ConfigInfo> config_;
    std::optional<wifi::NetworkInfo> connected_;
};

}  // namespace vanta::sim
