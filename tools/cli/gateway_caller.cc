#include "gateway_caller.h"

#include <utility>

#include "json_request.h"
#include "zapigateway.grpc.pb.h"

namespace vanta::cli {

namespace {

using vanta::zapigateway::ZapiGateway;

vanta::zapigateway::ZapiMessage gateway_message(const std::string& path,
                                                const std::string& payload_json) {
    const std::string payload = payload_json.empty() ? "{}" : payload_json;
    check_json_syntax(payload);
    vanta::zapigateway::ZapiMessage message;
    message.set_path(path);
    message.set_payload(payload);
    return message;
}

}  // namespace

GatewayCaller::GatewayCaller(Peer daemon) : daemon_(std::move(daemon)) {}

std::string GatewayCaller::command(const std::string& path, const std::string& payload_json) {
    const auto request = gateway_message(path, payload_json);
    grpc::ClientContext context;
    vanta::zapigateway::ZapiResponse response;
    throw_unless_ok(ZapiGateway::NewStub(daemon_.channel)->Command(&context, request, &response),
                    daemon_);
    return response.payload();
}

std::string GatewayCaller::status(const std::string& path, const std::string& payload_json) {
    const auto request = gateway_message(path, payload_json);
    grpc::ClientContext context;
    vanta::zapigateway::ZapiResponse response;
    throw_unless_ok(ZapiGateway::NewStub(daemon_.channel)->Status(&context, request, &response),
                    daemon_);
    return response.payload();
}

std::string GatewayCaller::schemas(const std::string& which) {
    if (which != "commands" && which != "statuses") {
        throw UsageError("gateway schemas are 'commands' or 'statuses', not '" + which + "'");
    }
    const auto stub = ZapiGateway::NewStub(daemon_.channel);
    grpc::ClientContext context;
    vanta::zapigateway::ZapiSchemas response;
    const grpc::Status status =
        which == "commands"
            ? stub->GetCommandSchemas(&context, google::protobuf::Empty(), &response)
            : stub->GetStatusSchemas(&context, google::protobuf::Empty(), &response);
    throw_unless_ok(status, daemon_);
    return response.schemas();
}

}  // namespace vanta::cli
