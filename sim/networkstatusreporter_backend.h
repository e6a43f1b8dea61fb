#pragma once

#include "networkstatusreporter.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The network status reporter: a device on a wired office network with its
// address from DHCP, and its event stream. A scripted reply or failure
// overrides the report.
class NetworkStatusReporterBackend final
    : public networkstatusreporter::NetworkStatusReporter::Service,
      public ScriptedBackend {
    using Report = networkstatusreporter::NetworkStatusReport;

  public:
    static Report wired_office_network() {
        Report report;
        report.set_state(Report::CONNECTED);
        report.set_active_interface(Report::ETHERNET);
        report.set_error(Report::NO_ERROR);
        report.set_ipaddress("192.168.1.57");
        report.set_subnet_mask("255.255.255.0");
        report.set_default_gateway("192.168.1.1");
        report.set_ieee8021xstatus(Report::UNKNOWN_STATUS);
        report.set_dns_mode(networkstatusreporter::DNS_AUTO);
        report.set_dns_domain_name("office.example");
        report.set_dns_primary_server("192.168.1.1");
        report.set_dns_secondary_server("9.9.9.9");
        report.set_proxy_mode(Report::PROXY_OFF);
        report.set_vlan_mode(networkstatusreporter::OFF);
        return report;
    }

    grpc::Status GetNetworkStatusReport(grpc::ServerContext* context,
                                        const networkstatusreporter::Empty* request,
                                        Report* response) override {
        return answer(*context, "GetNetworkStatusReport", *request, response, [&] {
            *response = wired_office_network();
            return grpc::Status::OK;
        });
    }
    VANTA_SIM_EVENT_STREAM(networkstatusreporter::Event, networkstatusreporter::SubscriptionRequest)
};

}  // namespace vanta::sim
