// Each operation that the service forwards to a backend, through a real API
// connection with every backend simulated on its device socket (each case in
// a private /tmp): the backend is sent what the row says and the caller gets
// the row's answer. The rows are in the *_pass_through_rows.cc files.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api_call.h"
#include "api_harness.h"
#include "device_backends.h"
#include "pass_through_rows.h"

namespace vanta::testing {
namespace {

class PassThrough : public ::testing::Test {
  protected:
    void check(const PassThroughRow& row) {
        std::vector<std::string> expected;
        for (const BackendExchange& exchange : row.backend) {
            backends_.script(exchange.operation, exchange.reply);
            expected.push_back(exchange.operation + "(" +
                               backends_.normalized_request(exchange.operation, exchange.sent) +
                               ")");
        }
        const auto marks = backends_.marks();
        const ApiAnswer answer = call_api(*channel_, row.operation, row.request);
        ASSERT_TRUE(answer.status.ok())
            << answer.status.error_code() << " " << answer.status.error_message();
        EXPECT_EQ(answer.response, normalized_answer(row.operation, row.answer));
        auto calls = backends_.calls_since(marks);
        std::sort(calls.begin(), calls.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(calls, expected);
    }
    void check_all(const std::vector<PassThroughRow>& rows) {
        for (const PassThroughRow& row : rows) {
            SCOPED_TRACE(row.operation + "(" + row.request + ")");
            try {
                check(row);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "row does not parse: " << e.what();
            }
        }
    }

    DeviceBackends backends_;
    ApiHarness api_;
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials());
};

TEST_F(PassThrough, CallControl) {
    check_all(calling_pass_through_rows());
}

TEST_F(PassThrough, AudioSystemScreenUpgradesAndFeatures) {
    check_all(devices_pass_through_rows());
}

TEST_F(PassThrough, NetworkWifiConfigurationAndSecurity) {
    check_all(network_pass_through_rows());
}

TEST_F(PassThrough, CertificatesBrandingCloudRoomSharesPhoneBookAccountsAndCalendar) {
    check_all(plugins_pass_through_rows());
}

}  // namespace
}  // namespace vanta::testing
