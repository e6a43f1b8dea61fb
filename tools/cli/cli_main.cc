// vanta-cli: pokes a running vantaapid from a shell.
//
//   vanta-cli list                          the unary operations
//   vanta-cli call <Operation> ['<json>']   one call; prints the answer as JSON
//   vanta-cli events [--count N]            prints events as they arrive
//   vanta-cli publish <topic> <event> [data] [key=value ...]
//                                           one message on the device's bus
//   vanta-cli gateway command <path> ['<json>']
//   vanta-cli gateway status <path>
//   vanta-cli gateway schemas commands|statuses
//                                           the command gateway's answers
//
// --address <target> (before the command) talks to another socket than
// "unix:/tmp/vantaapi_service" (for `gateway`, "unix:/tmp/zapigateway").

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <google/protobuf/util/json_util.h>
#include <grpcpp/grpcpp.h>

#include "api_caller.h"
#include "pubsub/publisher_factory.h"
#include "rpc/client/endpoint_catalogue.h"
#include "vantaapi.grpc.pb.h"
#include "zapigateway.grpc.pb.h"

namespace {

const char* const kUsage =
    "usage: vanta-cli [--address <target>] <command>\n"
    "  list                                    the unary operations of the API\n"
    "  call <Operation> ['<json request>']     call one operation, print the answer\n"
    "  events [--count N]                      print events as they arrive\n"
    "  publish <topic> <event> [data] [key=value ...]\n"
    "                                          publish one message on the bus\n"
    "  gateway command <path> ['<json>']       run a gateway command, print its answer\n"
    "  gateway status <path>                   print a gateway status\n"
    "  gateway schemas commands|statuses       print the gateway's schemas\n";

int list_operations() {
    for (const auto& operation : vanta::cli::ApiCaller::operations()) {
        std::cout << operation << "\n";
    }
    return 0;
}

int call_operation(const std::string& address, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        std::cerr << kUsage;
        return 2;
    }
    vanta::cli::ApiCaller caller(grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    const auto answer = caller.call(args[0], args.size() == 2 ? args[1] : "{}");
    if (!answer.status.ok()) {
        std::cerr << "status " << answer.status.error_code() << ": "
                  << answer.status.error_message() << "\n";
        return 1;
    }
    std::cout << answer.json;
    return 0;
}

int print_events(const std::string& address, const std::vector<std::string>& args) {
    long limit = -1;
    if (args.size() == 2 && args[0] == "--count") {
        limit = std::stol(args[1]);
    } else if (!args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    auto stub = vantaapi::VantaApi::NewStub(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    auto stream = stub->Subscribe(&context);
    google::protobuf::util::JsonPrintOptions options;
    options.always_print_primitive_fields = true;
    vantaapi::VantaEvent event;
    for (long seen = 0; limit < 0 || seen < limit; ++seen) {
        if (!stream->Read(&event)) {
            const grpc::Status status = stream->Finish();
            std::cerr << "stream ended: " << status.error_message() << "\n";
            return status.ok() ? 0 : 1;
        }
        std::string json;
        google::protobuf::util::MessageToJsonString(event, &json, options);
        std::cout << json << std::endl;
    }
    context.TryCancel();
    return 0;
}

int publish(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        std::cerr << kUsage;
        return 2;
    }
    vanta::pubsub::PubSubMessage message;
    message.msg().set_topic(args[0]);
    message.msg().set_event(std::stoi(args[1]));
    size_t next = 2;
    if (args.size() > 2 && args[2].find('=') == std::string::npos) {
        message.msg().set_data(args[2]);
        next = 3;
    }
    for (; next < args.size(); ++next) {
        const auto equals = args[next].find('=');
        if (equals == std::string::npos) {
            std::cerr << "not key=value: " << args[next] << "\n";
            return 2;
        }
        (*message.msg().mutable_attributes())[args[next].substr(0, equals)] =
            args[next].substr(equals + 1);
    }
    const auto publisher = vanta::pubsub::create_publisher_client("vanta-cli");
    if (!publisher->Publish(message)) {
        std::cerr << "not published: " << publisher->GetLastFailureReason() << "\n";
        return 1;
    }
    return 0;
}

int use_gateway(const std::string& address, const std::vector<std::string>& args) {
    using vanta::zapigateway::ZapiGateway;
    const auto stub =
        ZapiGateway::NewStub(grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    grpc::Status status;
    std::string answer;
    if (args.size() >= 2 && args.size() <= 3 && (args[0] == "command" || args[0] == "status")) {
        vanta::zapigateway::ZapiMessage request;
        request.set_path(args[1]);
        request.set_payload(args.size() == 3 ? args[2] : "{}");
        vanta::zapigateway::ZapiResponse response;
        status = args[0] == "command" ? stub->Command(&context, request, &response)
                                      : stub->Status(&context, request, &response);
        answer = response.payload();
    } else if (args.size() == 2 && args[0] == "schemas" &&
               (args[1] == "commands" || args[1] == "statuses")) {
        vanta::zapigateway::ZapiSchemas response;
        status = args[1] == "commands"
                     ? stub->GetCommandSchemas(&context, google::protobuf::Empty(), &response)
                     : stub->GetStatusSchemas(&context, google::protobuf::Empty(), &response);
        answer = response.schemas();
    } else {
        std::cerr << kUsage;
        return 2;
    }
    if (!status.ok()) {
        std::cerr << "status " << status.error_code() << ": " << status.error_message() << "\n";
        return 1;
    }
    std::cout << answer << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string address;
    if (args.size() >= 2 && args[0] == "--address") {
        address = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (address.empty()) {
        address = command == "gateway" ? vanta::device_endpoints().zapigateway.address
                                       : vanta::device_endpoints().vantaapi.address;
    }
    try {
        if (command == "list") {
            return list_operations();
        }
        if (command == "call") {
            return call_operation(address, args);
        }
        if (command == "events") {
            return print_events(address, args);
        }
        if (command == "publish") {
            return publish(args);
        }
        if (command == "gateway") {
            return use_gateway(address, args);
        }
    } catch (const std::exception& e) {
        std::cerr << "vanta-cli: " << e.what() << "\n";
        return 2;
    }
    std::cerr << kUsage;
    return 2;
}
