// Each operation that the service forwards to a backend, through a real API
// connection with every backend simulated on its device socket (each case in
// a private /tmp): the backend is sent what the row says and the caller gets
// the row's answer. The rows are in the *_pass_through_rows.textproto files.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api_call.h"
#include "api_harness.h"
#include "api_rows.h"
#include "device_backends.h"

namespace vanta::testing {
namespace {

class PassThrough : public ::testing::Test {
  protected:
    void check(const rows::PassThroughRow& row) {
        std::vector<std::string> expected;
        for (const rows::BackendExchange& exchange : row.backend()) {
            backends_.script(exchange.operation(), exchange.reply());
            expected.push_back(exchange.operation() + "(" +
                               backends_.normalized_request(exchange.operation(), exchange.sent()) +
                               ")");
        }
        const auto marks = backends_.marks();
        const ApiAnswer answer = call_api(*channel_, row.operation(), row.request());
        ASSERT_TRUE(answer.status.ok())
            << answer.status.error_code() << " " << answer.status.error_message();
        EXPECT_EQ(answer.response, normalized_answer(row.operation(), row.answer()));
        auto calls = backends_.calls_since(marks);
        std::sort(calls.begin(), calls.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(calls, expected);
    }
    // Checks every row of `file_name`, which must hold at least `minimum_rows`.
    void check_file(const std::string& file_name, int minimum_rows) {
        const auto rows = read_rows<rows::PassThroughRows>(file_name);
        EXPECT_GE(rows.row_size(), minimum_rows) << file_name << " has lost rows";
        for (const rows::PassThroughRow& row : rows.row()) {
            SCOPED_TRACE(row.operation() + "(" + row.request() + ")");
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
    check_file("calling_pass_through_rows.textproto", 42);
}

// A method the backend does not know goes out as unknown; a megabyte
// destination goes out whole.
TEST_F(PassThrough, StartMeetingWithAnUnknownMethodAndALongDestination) {
    const std::string destination = "'sip:" + std::string(1 << 20, 'r') + "@example'";
    rows::PassThroughRow row;
    row.set_operation("StartMeeting");
    row.set_request("destination: " + destination + " start_method: 99");
    rows::BackendExchange& exchange = *row.add_backend();
    exchange.set_operation("calling.StartMeeting");
    exchange.set_reply("meeting_id: 98");
    exchange.set_sent("destination: " + destination);
    row.set_answer("meeting_id: 98");
    check(row);
}

TEST_F(PassThrough, AudioSystemScreenUpgradesAndFeatures) {
    check_file("devices_pass_through_rows.textproto", 49);
}

TEST_F(PassThrough, NetworkWifiConfigurationAndSecurity) {
    check_file("network_pass_through_rows.textproto", 65);
}

TEST_F(PassThrough, CertificatesBrandingCloudRoomSharesPhoneBookAccountsAndCalendar) {
    check_file("plugins_pass_through_rows.textproto", 27);
}

}  // namespace
}  // namespace vanta::testing
