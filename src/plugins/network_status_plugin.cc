#include "plugins/network_status_plugin.h"

#include <map>
#include <string>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

constexpr char kTopic[] = "NetworkStatusEvent";

vantaapi::NetworkInterface to_network_interface(const std::string& name) {
    if (name == "ETHERNET") {
        return vantaapi::ETHERNET;
    }
    if (name == "WIFI") {
        return vantaapi::WIFI;
    }
    return vantaapi::UNKNOWN_INTERFACE;
}

vantaapi::NetworkStatusReport::NetworkError to_network_error(const std::string& code) {
    using Report = vantaapi::NetworkStatusReport;
    static const std::map<std::string, Report::NetworkError> kErrors = {
        {"NONE", Report::NO_ERROR},
        {"NO_ETH0_LINK", Report::NO_ETH0_LINK},
        {"WIFI_AUTHENTICATION_FAILED", Report::WIFI_AUTHENTICATION_FAILED},
        {"WIFI_SIGNAL_NO_NETWORK", Report::WIFI_SIGNAL_NO_NETWORK},
        {"NO_WIFI_CREDENTIALS", Report::NO_WIFI_CREDENTIALS},
        {"IEEE_8021X_FAILURE", Report::IEEE8021X_FAILURE},
        {"LINK_UP_NO_IP", Report::LINK_UP_NO_IP},
    };
    const auto found = kErrors.find(code);
    return found != kErrors.end() ? found->second : Report::UNKNOWN_ERROR;
}

}  // namespace

NetworkStatusPlugin::NetworkStatusPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void NetworkStatusPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using Report = vantaapi::NetworkStatusReport;
    const int connectivity = message.msg().event();
    if (connectivity != Report::DISCONNECTED && connectivity != Report::CONNECTED) {
        logger_.info("NetworkStatusPlugin: unknown network event");
        return;
    }
    Report report;
    report.set_state(static_cast<Report::NetworkConnectivity>(connectivity));
    report.set_active_interface(to_network_interface(message.get_option("INTERFACE")));
    report.set_error(to_network_error(message.get_option("ERROR_CODE")));
    report.set_ipaddress(message.msg().data());
    report.set_subnet_mask(message.get_option("SUBNET_MASK"));
    report.set_default_gateway(message.get_option("DEFAULT_GATEWAY"));
    report.set_ssid(message.get_option("SSID"));
    report.set_apmode(message.get_option("APMODE") == "ENABLED");
    report.set_dns_domain_name(message.get_option("NETWORK_DNS_DOMAIN"));
    report.set_dns_primary_server(message.get_option("NETWORK_DNS_PRIMARY_SERVER"));
    report.set_dns_secondary_server(message.get_option("NETWORK_DNS_SECONDARY_SERVER"));
    report.set_dns_tertiary_server(message.get_option("NETWORK_DNS_TERTIARY_SERVER"));
    update_network_status_report(report);
}

void NetworkStatusPlugin::update_network_status_report(
    const vantaapi::NetworkStatusReport& report) {
    vantaapi::VantaEvent event;
    *event.mutable_new_network_status_report() = report;
    publisher_.publish(event);
}

}  // namespace vanta
