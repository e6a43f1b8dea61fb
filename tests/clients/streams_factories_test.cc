// The factories that ask the service registry for their backend's address
// (each case runs in a private /tmp, where the registry and the backends have
// their fixed sockets). How the registry is asked is the registry client's
// (rpc/client/service_registry_test.cc).

#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/calling/calling_client.h"
#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "runtime/executor/manual_executor.h"
#include "sim/backend_server.h"
#include "sim/calling_backend.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/service_registry.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

struct FactoryRow {
    std::string registered_as;
    std::string fixed_socket;
    // Serves the backend on `address`, makes the client by its factory and
    // calls one operation: answers how many calls the backend took.
    std::function<size_t(const std::string& address)> calls_served_on;
};

// A row's `calls_served_on` for a `Backend` and a `call` of its client.
template <typename Backend, typename Call>
std::function<size_t(const std::string&)> serving(Call call) {
    return [call](const std::string& address) {
        Backend service;
        sim::BackendServer server(address, {&service});
        ManualExecutor executor;
        call(executor);
        return service.calls().size();
    };
}

const std::vector<FactoryRow>& factory_rows() {
    static const std::vector<FactoryRow> rows = {
        {"Nimbo Room Service", "unix:/tmp/nimboroomservice",
         serving<sim::NimboRoomControlBackend>([](Executor&) {
             nimboroomcontrol::create_nimboroomcontrol_client(device_endpoints().nimboroomcontrol)
                 ->IncreaseVolume();
         })},
        {"Nimbo Status Reporter Service", "unix:/tmp/nimbostatusreporter_service",
         serving<sim::NimboStatusReporterBackend>([](Executor& executor) {
             nimbostatusreporter::create_client(executor, device_endpoints().nimbostatusreporter)
                 ->CheckCloudConnectivity();
         })},
        {"CallProxy", "unix:/tmp/callproxy", serving<sim::CallingBackend>([](Executor& executor) {
             callproxy::create_client(executor, device_endpoints().callproxy)->AnyMeetings();
         })},
    };
    return rows;
}

TEST(ResolvingFactories, UseTheRegistrysAddressElseTheFixedSocket) {
    for (const FactoryRow& row : factory_rows()) {
        SCOPED_TRACE(row.registered_as);
        EXPECT_EQ(row.calls_served_on(row.fixed_socket), 1u);

        TempDir dir;
        const std::string address = dir.socket_address("registered");
        sim::ServiceRegistry registry;
        registry.add_entry(row.registered_as, address);
        sim::BackendServer registry_server("unix:/tmp/serviceregistry", {&registry});
        EXPECT_EQ(row.calls_served_on(address), 1u);
        EXPECT_THAT(registry.lookups(), ::testing::ElementsAre(row.registered_as));
    }
}

}  // namespace
}  // namespace vanta::testing
