#include "rpc/client/endpoint_catalogue.h"

namespace vanta {

namespace {

using std::chrono::milliseconds;

// How long the registry may take to answer a look-up: client factories wait
// longer than the bus client does.
constexpr milliseconds kClientLookupTimeout{500};
constexpr milliseconds kBusLookupTimeout{200};
constexpr const char* kRegistrySocket = "serviceregistry";

std::string device_socket(const std::string& socket) {
    return std::string("unix:") + kDeviceSocketDirectory + socket;
}

// A backend always on its own socket in /tmp.
Endpoint fixed(const std::string& socket, const std::string& service_name, milliseconds deadline) {
    return {device_socket(socket), "", service_name, deadline, "", milliseconds(0)};
}

// A backend at the address the registry holds for `registry_name`, else on its
// socket in /tmp.
Endpoint registered(const std::string& socket, const std::string& registry_name,
                    milliseconds lookup_timeout, const std::string& service_name,
                    milliseconds deadline) {
    Endpoint endpoint = fixed(socket, service_name, deadline);
    endpoint.registry_name = registry_name;
    endpoint.registry_address = device_socket(kRegistrySocket);
    endpoint.registry_timeout = lookup_timeout;
    return endpoint;
}

EndpointCatalogue make_device_endpoints() {
    EndpointCatalogue c;
    c.callproxy =
        registered("callproxy", "CallProxy", kClientLookupTimeout, "CallProxy", milliseconds(7000));

    c.account_manager = fixed("account_manager", "AccountManager", milliseconds(2000));
    c.share_governor = fixed("share_governor", "ShareGovernor", milliseconds(2000));
    c.phonebook = fixed("phonebook_service", "PhonebookService", milliseconds(2000));
    c.avatar = fixed("avatar_service", "Avatar Service", milliseconds(2000));

    c.configmanager = fixed("configmanager", "Config Manager", milliseconds(4000));
    c.krellconfigmanager = fixed("krellconfigmanager", "KrellConfigManager", milliseconds(2000));
    // Installing a trust list verifies its signature first; five seconds
    // leave room for that on the device's processor.
    c.krellsecurity = fixed("krellsecurity_service", "KRELL Security Service", milliseconds(5000));
    // The cloud configuration service answers from its cached configuration.
    c.nimboconfigmanager =
        fixed("nimboconfigmanager_service", "NimboConfigManager", milliseconds(2000));
    c.certificatemanager =
        fixed("certificatemanager_service", "CertificateManager", milliseconds(2000));

    c.ringer = fixed("ringer", "Ringer Service", milliseconds(4000));
    c.volumemgr = fixed("volumemgr_service", "VolumeManager", milliseconds(2000));
    c.reset = fixed("reset_service", "ResetService", milliseconds(2000));
    c.systemcontroller = fixed("systemcontroller_service", "SystemController", milliseconds(2000));
    c.screensetting = fixed("screensetting_service", "ScreenSettingService", milliseconds(2000));
    c.hdmirx = fixed("hdmirx_stub", "HdmiRxService", milliseconds(6000));
    c.ieee8021x = fixed("ieee8021x_service", "Ieee8021xService", milliseconds(2000));
    // Installing a package can take minutes.
    c.upgrademanager = fixed("upgrademanager_service", "UpgradeManager", milliseconds(600000));
    c.featuremanager = fixed("featuremanager_service", "FeatureManager", milliseconds(6000));

    // The network manager answers from its own state; two seconds cover a busy
    // device.
    c.networkmanager = fixed("networkmanager_service", "NetworkManager", milliseconds(2000));
    c.networkstatusreporter =
        fixed("network_status_reporter", "Network Status Reporter Service", milliseconds(2000));
    // Scans and configuration changes are answered once the supplicant took
    // them; two seconds leave room for a busy radio.
    c.wifi = fixed("wifi_service", "Wifi Service", milliseconds(2000));
    // Switching the access point on or off waits for the radio to switch.
    c.accesspoint = registered("ap_service", "Access Point Service", kClientLookupTimeout,
                               "Access Point Service", milliseconds(2000));
    c.nimboultrasound =
        registered("nimboultrasound_service", "Nimbo Ultrasound Service", kClientLookupTimeout,
                   "Nimbo Ultrasound Service", milliseconds(2000));

    c.nimbobranding = fixed("nimbobranding_service", "Nimbo Branding Service", milliseconds(2000));
    c.nimboroomcontrol = registered("nimboroomservice", "Nimbo Room Service", kClientLookupTimeout,
                                    "Nimbo Room Service", milliseconds(2000));
    c.nimbostatusreporter =
        registered("nimbostatusreporter_service", "Nimbo Status Reporter Service",
                   kClientLookupTimeout, "Nimbo Status Reporter Service", milliseconds(2000));
    c.calendar = fixed("calendar_service", "Calendar Service", milliseconds(1000));
    c.nfc = fixed("nfc", "Nfc Service", milliseconds(2000));

    c.media = registered("media_service", "media_service", kClientLookupTimeout,
                         "MediaServiceClient", milliseconds(5000));
    // Subscribing to a remote stream is answered once the media session took
    // the request, not when the video flows.
    c.mediasession = registered("mediasession_service", "mediasession_service",
                                kClientLookupTimeout, "MediasessionClient", milliseconds(2000));

    c.problemreporter =
        registered("problemreporter_service", "Problem Reporter Service", kClientLookupTimeout,
                   "Problem Reporter Service", milliseconds(2000));
    c.problemreportstatus =
        fixed("problemreportstatus_service", "Problem Report Status Service", milliseconds(2000));
    c.metrics_dispatch = fixed("metricsdispatch_service", "MetricsDispatch", milliseconds(20000));

    // Bus calls have no deadline: a read waits for the next message.
    c.pubservice = registered("pubservice", "Publish Service", kBusLookupTimeout, "Publish Service",
                              milliseconds(0));
    c.subservice = registered("subservice", "Subscribe Service", kBusLookupTimeout,
                              "Subscribe Service", milliseconds(0));
    // Each look-up sets its own deadline (the asking row's registry_timeout).
    c.service_registry = fixed(kRegistrySocket, "ServiceRegistry Service", milliseconds(0));

    // The API client library gives every call a minute: some operations wait
    // for a backend's own long deadline (an upgrade step, a call set-up).
    c.vantaapi = fixed("vantaapi_service", "VantaApi", milliseconds(60000));
    // Served, not called.
    c.zapigateway = fixed("zapigateway", "Zapigateway Service", milliseconds(0));
    return c;
}

// Calls `visit(name, row)` for every row. Every member must be listed here:
// the size check below fails when one is added to the struct alone.
template <typename Catalogue, typename Visit>
void for_each_row(Catalogue& c, Visit visit) {
    visit("callproxy", c.callproxy);
    visit("account_manager", c.account_manager);
    visit("share_governor", c.share_governor);
    visit("phonebook", c.phonebook);
    visit("avatar", c.avatar);
    visit("configmanager", c.configmanager);
    visit("krellconfigmanager", c.krellconfigmanager);
    visit("krellsecurity", c.krellsecurity);
    visit("nimboconfigmanager", c.nimboconfigmanager);
    visit("certificatemanager", c.certificatemanager);
    visit("ringer", c.ringer);
    visit("volumemgr", c.volumemgr);
    visit("reset", c.reset);
    visit("systemcontroller", c.systemcontroller);
    visit("screensetting", c.screensetting);
    visit("hdmirx", c.hdmirx);
    visit("ieee8021x", c.ieee8021x);
    visit("upgrademanager", c.upgrademanager);
    visit("featuremanager", c.featuremanager);
    visit("networkmanager", c.networkmanager);
    visit("networkstatusreporter", c.networkstatusreporter);
    visit("wifi", c.wifi);
    visit("accesspoint", c.accesspoint);
    visit("nimboultrasound", c.nimboultrasound);
    visit("nimbobranding", c.nimbobranding);
    visit("nimboroomcontrol", c.nimboroomcontrol);
    visit("nimbostatusreporter", c.nimbostatusreporter);
    visit("calendar", c.calendar);
    visit("nfc", c.nfc);
    visit("media", c.media);
    visit("mediasession", c.mediasession);
    visit("problemreporter", c.problemreporter);
    visit("problemreportstatus", c.problemreportstatus);
    visit("metrics_dispatch", c.metrics_dispatch);
    visit("pubservice", c.pubservice);
    visit("subservice", c.subservice);
    visit("service_registry", c.service_registry);
    visit("vantaapi", c.vantaapi);
    visit("zapigateway", c.zapigateway);
}
constexpr std::size_t kRowCount = 39;
static_assert(sizeof(EndpointCatalogue) == kRowCount * sizeof(Endpoint),
              "every catalogue member needs its line in for_each_row");

}  // namespace

std::string socket_name(const Endpoint& endpoint) {
    return endpoint.address.substr(endpoint.address.find_last_of("/:") + 1);
}

std::vector<EndpointCatalogue::Row> EndpointCatalogue::rows() const {
    std::vector<Row> rows;
    rows.reserve(kRowCount);
    for_each_row(*this, [&rows](const char* name, const Endpoint& endpoint) {
        rows.push_back({name, endpoint});
    });
    return rows;
}

const EndpointCatalogue& device_endpoints() {
    static const EndpointCatalogue catalogue = make_device_endpoints();
    return catalogue;
}

EndpointCatalogue endpoints_in_directory(const std::string& directory) {
    EndpointCatalogue catalogue = device_endpoints();
    const std::string prefix =
        "unix:" + directory + (directory.empty() || directory.back() != '/' ? "/" : "");
    const std::string registry = prefix + socket_name(catalogue.service_registry);
    for_each_row(catalogue, [&](const char*, Endpoint& endpoint) {
        endpoint.address = prefix + socket_name(endpoint);
        endpoint.registry_name.clear();
        endpoint.registry_address = endpoint.registry_address.empty() ? "" : registry;
    });
    return catalogue;
}

}  // namespace vanta
