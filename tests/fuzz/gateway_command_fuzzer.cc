// The gateway's Command: any path and payload, with any answers of the API
// underneath, give a JSON answer with status code 200 or 500; only a payload
// that is not JSON may fail the call, and then with a JSON exception.
//
// Input: one byte choosing the API's answers, the path up to a newline, the
// payload up to a NUL, then the bookings the API answers (a serialized
// CalendarEventList).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz/fuzz_target.h"
#include "gateway/zapigateway_service.h"
#include "rpc/client/grpc_client_stub.h"
#include "runtime/executor/manual_executor.h"

namespace {

using nlohmann::json;
using vanta::VantaApiClient;

// Answers from the fuzz input: each of the gateway's operations fails,
// answers false or answers true. The gateway never looks at the channel.
class ScriptedApi final : public vanta::GrpcClientStub<VantaApiClient> {
  public:
    ScriptedApi(std::uint8_t choices, vantaapi::CalendarEventList bookings)
        : choices_(choices), bookings_(std::move(bookings)) {}

    void SubscribeToFeedbackEvents(const FeedbackEventCallback&, const Notification&) override {}
    void SubscribeToFeedbackEvents(const FeedbackEventCallback&, const Notification&,
                                   const Notification&) override {}
    void UnsubscribeToFeedbackEvents() override {}

    std::optional<bool> Reboot(bool) override { return answer(0); }
    std::optional<bool> SetAudioMute(bool, vantaapi::MuteMethod) override { return answer(2); }
    std::optional<bool> ToggleAudioMute() override { return answer(4); }
    std::optional<bool> IsAudioMute() override { return answer(6); }
    vantaapi::CalendarEventList GetCalendarEvents() override { return bookings_; }

#define VANTA_API_OPERATION(Op, Request, Response)        \
    std::optional<Response> Op(const Request&) override { \
        return std::nullopt;                              \
    }
#define VANTA_API_OPERATION_WITH_OWN_SIGNATURE(Op, Request, Response)
#include "gateway/vantaapi_operations.inc"
#undef VANTA_API_OPERATION
#undef VANTA_API_OPERATION_WITH_OWN_SIGNATURE

  private:
    // Two bits per operation: 0 failed, 1 false, 2 or 3 true.
    std::optional<bool> answer(int shift) const {
        const int choice = (choices_ >> shift) & 3;
        return choice == 0 ? std::nullopt : std::optional<bool>(choice >= 2);
    }

    std::uint8_t choices_;
    vantaapi::CalendarEventList bookings_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string path(take_until(input, '\n'));
    const std::string payload(take_until(input, '\0'));
    vantaapi::CalendarEventList bookings;
    if (!bookings.ParseFromArray(input.data(), static_cast<int>(input.size()))) {
        bookings.Clear();
    }

    ManualExecutor executor;
    vanta::zapigateway::ServiceImpl gateway(
        executor, std::make_shared<ScriptedApi>(data[0], std::move(bookings)));
    vanta::zapigateway::ZapiMessage request;
    request.set_path(path);
    request.set_payload(payload);
    vanta::zapigateway::ZapiResponse response;
    try {
        require(gateway.Command(nullptr, &request, &response).ok(), "Command failed");
    } catch (const json::exception&) {
        // Not JSON, or a number beyond double's range: gRPC answers UNKNOWN.
        require(!json::accept(payload), "a JSON payload fails the call");
        return 0;
    }
    const json answer = json::parse(response.payload(), nullptr, /*allow_exceptions=*/false);
    require(answer.is_object(), "the answer is not a JSON object");
    const auto code = answer.find("statusCode");
    require(code != answer.end() && (*code == 200 || *code == 500),
            "the answer has no status code 200 or 500");
    require(answer.contains("result"), "the answer has no result");
    return 0;
}
