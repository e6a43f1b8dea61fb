#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/service_address.h"
#include "rpc/client/service_context.h"
#include "rpc/client/service_health.h"
#include "rpc/client/service_registry_client.h"
#include "sim/backend_server.h"
#include "sim/hang_gate.h"
#include "sim/service_registry.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

// Every case runs with a /tmp of its own: the registry's and the bus's sockets
// are the fixed paths /tmp/serviceregistry and /tmp/pubservice.

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using vanta::serviceregistry::ContextScope;
using vanta::serviceregistry::ServiceRegistryClientImpl;
using vanta::sim::BackendServer;
using vanta::testing::RecordingLogger;
using vanta::testing::TempDir;

namespace {

const std::string kRegistryAddress = "unix:/tmp/serviceregistry";

std::string resolved_address(const vanta::Endpoint& endpoint) {
    return vanta::resolve_endpoint(endpoint).address;
}

class ServiceRegistry : public ::testing::Test {
  protected:
    ~ServiceRegistry() override { vanta::destroy_service_context(); }

    TempDir dir_;
    vanta::sim::ServiceRegistry registry_;
    RecordingLogger logger_;
};

// An answer under another name is someone else's entry, and one that does
// not come before the deadline is none: the fallback is used.
TEST_F(ServiceRegistry, TheRegistrysAnswerIsUsedUnlessItNamesAnotherServiceOrComesTooLate) {
    registry_.add_entry("Publish Service", "unix:/run/bus/publish");
    registry_.answer_as("Subscribe Service", "Publish Service", "unix:/run/bus/publish");
    vanta::sim::HangGate hung;
    BackendServer server({kRegistryAddress}, {&registry_}, hung.interceptors());
    EXPECT_EQ(resolved_address(vanta::device_endpoints().pubservice), "unix:/run/bus/publish");
    EXPECT_EQ(resolved_address(vanta::device_endpoints().subservice), "unix:/tmp/subservice");
    EXPECT_EQ(resolved_address(vanta::device_endpoints().callproxy), "unix:/tmp/callproxy");
    EXPECT_THAT(registry_.lookups(),
                ElementsAre("Publish Service", "Subscribe Service", "CallProxy"));

    hung.hold();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(resolved_address(vanta::device_endpoints().pubservice), "unix:/tmp/pubservice");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, vanta::testing::scaled(1s));
    hung.open();
}

// Each round of socket checks looks five times a second apart, even once the
// socket is there.
TEST_F(ServiceRegistry, RegisterWaitsForTheRegistrySocketThenRegistersWithOurPid) {
    ServiceRegistryClientImpl client(kRegistryAddress, logger_);
    std::thread registering([&] { client.register_service("Media Service", "unix:/tmp/media"); });

    // Start the registry once the first round of checks has given up.
    const std::string down = "I Service " + kRegistryAddress + " failed to come up...";
    vanta::testing::wait_until([&] { return logger_.count(down) > 0; }, 10s);
    const auto start = std::chrono::steady_clock::now();
    BackendServer server(kRegistryAddress, {&registry_});
    registering.join();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 4500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 7000ms);

    ASSERT_EQ(registry_.registrations().size(), 1u);
    const vanta::sim::ServiceRegistry::Registration registration = registry_.registrations()[0];
    EXPECT_EQ(registration.service, "Media Service");
    EXPECT_EQ(registration.address, "unix:/tmp/media");
    EXPECT_EQ(registration.pid, getpid());
    EXPECT_THAT(logger_.lines(), ElementsAre(down, "I wait for ServiceRegistry service...",
                                             "I Service " + kRegistryAddress + " is up...."));
}

TEST_F(ServiceRegistry, RegisterAndUnregisterFailuresAreLogged) {
    registry_.fail_registrations(grpc::Status(grpc::StatusCode::ALREADY_EXISTS, "taken"));
    BackendServer server(kRegistryAddress, {&registry_});
    ServiceRegistryClientImpl client(kRegistryAddress, logger_);
    client.register_service("Media Service", "unix:/tmp/media");
    client.unregister_service("Ringer Service");
    EXPECT_EQ(registry_.registrations().size(), 1u);
    EXPECT_THAT(logger_.lines(),
                ElementsAre("I Service " + kRegistryAddress + " is up....",
                            "E register_service failed for Media Service, grpc error: taken, "
                            "code: ALREADY_EXISTS",
                            "E unregister_service failed for Ringer Service, grpc error: no such "
                            "service, code: NOT_FOUND"));
}

// --- Health checks -----------------------------------------------------------

TEST_F(ServiceRegistry, SocketCheckOnceLooksOnceLogsTheOutcomeAndRefusesOtherAddresses) {
    EXPECT_THROW(vanta::check_service_health("uni", logger_, true), std::out_of_range);
    EXPECT_THROW(vanta::check_service_health("dns:localhost:50051", logger_, true),
                 std::invalid_argument);
    BackendServer server(dir_.socket_address("volumemgr_service"), {&registry_});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(
        vanta::check_service_health(dir_.socket_address("volumemgr_service"), logger_, true));
    EXPECT_FALSE(vanta::check_service_health(dir_.socket_address("ringer"), logger_, true));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_THAT(
        logger_.lines(),
        ElementsAre("I Service " + dir_.socket_address("volumemgr_service") + " is up....",
                    "I Service " + dir_.socket_address("ringer") + " failed to come up..."));
}

// The registry under a caller's root is asked only in the CallerRoot scope
// and for a root that is not empty; the check asks it until the service is
// registered.
TEST_F(ServiceRegistry, ACallerRootsRegistryIsAskedInItsScopeUntilTheServiceIsRegistered) {
    registry_.add_entry("media_service", "unix:/run/media");
    BackendServer server(dir_.socket_address("serviceregistry"), {&registry_});
    const std::string root = dir_.path().string();
    // The process-wide root (/tmp/, where no registry runs) wins by default.
    EXPECT_FALSE(vanta::check_service_health(root, "media_service", logger_, true));
    vanta::get_service_context()->set_scope(ContextScope::CallerRoot);
    EXPECT_FALSE(vanta::check_service_health("", "media_service", logger_, true));
    EXPECT_TRUE(vanta::check_service_health(root, "media_service", logger_, true));
    EXPECT_FALSE(vanta::check_service_health(root, "Nimbo Room Service", logger_, true));

    std::thread registering([&] {
        std::this_thread::sleep_for(1500ms);
        registry_.add_entry("Nimbo Room Service", "unix:/tmp/nimboroomservice");
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(vanta::check_service_health(root, "Nimbo Room Service", logger_, false));
    registering.join();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4000ms);
    EXPECT_THAT(logger_.lines(), ElementsAre("I Service media_service failed to come up...",
                                             "I Service media_service failed to come up...",
                                             "I Service media_service is up...",
                                             "I Service Nimbo Room Service failed to come up...",
                                             "I Service Nimbo Room Service is up..."));
}

}  // namespace
