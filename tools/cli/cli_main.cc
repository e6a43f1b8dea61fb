// vanta-cli: pokes a running vantaapid from a shell. This file only wires the
// command line (CLI11) to the library beside it; `vanta-cli --help` and
// `vanta-cli <command> --help` describe every command.

#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "api_caller.h"
#include "bus_publishing.h"
#include "cli_errors.h"
#include "completion_script.h"
#include "event_cases.h"
#include "event_watcher.h"
#include "gateway_caller.h"
#include "parse_failure.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim_controller.h"

namespace {

using namespace vanta::cli;

std::string wrapped_list(const std::string& title, const std::vector<std::string>& words) {
    std::string text = title;
    std::size_t line = text.size();
    for (const auto& word : words) {
        if (line + word.size() + 1 > 78) {
            text += "\n ";
            line = 1;
        }
        text += " " + word;
        line += word.size() + 1;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Calls the operations of a running vantaapid, prints its events, publishes on "
        "the device's bus, runs command-gateway requests and stops, starts or hangs the "
        "backends of vanta-simulator.",
        "vanta-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    std::string address;
    app.add_option("--address", address,
                   "gRPC target instead of the device's socket (" +
                       vanta::device_endpoints().vantaapi.address + ", for gateway " +
                       vanta::device_endpoints().zapigateway.address + ", for sim " +
                       kSimulatorControlAddress + ", for publish the bus broker's)");
    const auto daemon = [&](const std::string& device_address) {
        return Peer::connect("daemon", address.empty() ? device_address : address);
    };

    app.add_subcommand("list", "print the API's unary operations with their types")->callback([] {
        for (const auto& operation : ApiCaller::operations()) {
            std::cout << operation << "\n";
        }
    });

    auto* call = app.add_subcommand("call", "call one operation, print its answer as JSON");
    std::string operation;
    std::string request = "{}";
    call->add_option("operation", operation, "the operation's name (see list)")->required();
    call->add_option("request", request, "the request as JSON, {} when left out");
    call->callback([&] {
        std::cout << ApiCaller(daemon(vanta::device_endpoints().vantaapi.address))
                         .call(operation, request);
    });

    auto* events = app.add_subcommand("events", "print the daemon's events as they arrive");
    EventWatch watch;
    std::vector<std::string> filter;
    events->add_option("--count", watch.count, "stop after this many events")
        ->check(CLI::PositiveNumber);
    events->add_option("--filter", filter, "only events of these cases (repeat or list with ,)")
        ->delimiter(',');
    events->add_flag("--json", watch.json, "one JSON object per event instead of the short form");
    events->footer(wrapped_list("Event cases:", event_case_names()));
    events->callback([&] {
        watch.filter = EventFilter(filter);
        const std::string ended =
            watch_events(daemon(vanta::device_endpoints().vantaapi.address), watch, std::cout);
        if (!ended.empty()) {
            std::cerr << "vanta-cli: " << ended << "\n";
        }
    });

    auto* publish = app.add_subcommand("publish", "publish one message on the device's bus");
    std::string topic;
    int bus_event = 0;
    std::vector<std::string> data_and_attributes;
    publish->add_option("topic", topic, "the message's topic")->required();
    publish->add_option("event", bus_event, "the message's event number")->required();
    publish->add_option("data", data_and_attributes,
                        "[data] [key=value ...]: the message's data, then its attributes");
    publish->callback(
        [&] { publish_on_bus(bus_message(topic, bus_event, data_and_attributes), address); });

    auto* gateway = app.add_subcommand("gateway", "run a request of the command gateway");
    gateway->require_subcommand(1);
    const auto gateway_caller = [&] {
        return GatewayCaller(daemon(vanta::device_endpoints().zapigateway.address));
    };
    std::string path;
    std::string payload = "{}";
    auto* command = gateway->add_subcommand("command", "run a command, print its answer");
    command->add_option("path", path, "the command: Audio.Microphones.ToggleMute")->required();
    command->add_option("payload", payload, "the command's JSON payload, {} when left out");
    command->callback([&] { std::cout << gateway_caller().command(path, payload) << "\n"; });
    auto* status = gateway->add_subcommand("status", "print a status");
    status->add_option("path", path, "the status: Audio.Microphones.Mute")->required();
    status->add_option("payload", payload, "the request's JSON payload, {} when left out");
    status->callback([&] { std::cout << gateway_caller().status(path, payload) << "\n"; });
    auto* schemas = gateway->add_subcommand("schemas", "print the gateway's schemas");
    std::string which;
    schemas->add_option("which", which, "commands or statuses")
        ->required()
        ->check(CLI::IsMember({"commands", "statuses"}));
    schemas->callback([&] { std::cout << gateway_caller().schemas(which) << "\n"; });

    auto* sim = app.add_subcommand("sim", "stop, start or hang a backend of vanta-simulator");
    sim->require_subcommand(1);
    const auto simulator = [&] {
        return SimController(
            Peer::connect("simulator", address.empty() ? kSimulatorControlAddress : address));
    };
    std::string backend;
    for (const auto& action : SimController::actions()) {
        auto* change = sim->add_subcommand(action, action + " one backend, print its new state");
        change->add_option("backend", backend, "its socket name or a unique short form")
            ->required();
        change->callback([&, action] { std::cout << simulator().change(action, backend); });
    }
    sim->add_subcommand("list", "print each backend's state")->callback([&] {
        std::cout << simulator().list();
    });

    auto* completion = app.add_subcommand("completion", "print a shell completion script");
    std::string shell;
    completion->add_option("shell", shell, "bash (source <(vanta-cli completion bash))")
        ->required()
        ->check(CLI::IsMember({"bash"}));
    completion->callback([&] {
        CompletionWords words;
        words.positionals["call"] = ApiCaller::operation_names();
        words.positionals["gateway schemas"] = {"commands", "statuses"};
        words.positionals["completion"] = {"bash"};
        for (const auto& action : SimController::actions()) {
            words.positionals["sim " + action] = SimController::backend_names();
        }
        words.option_values["--filter"] = event_case_names();
        std::cout << bash_completion_script(app, words);
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "vanta-cli: " << parse_failure_text(app, error) << "\n";
        return kExitUsage;
    } catch (const UsageError& error) {
        std::cerr << "vanta-cli: " << error.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "vanta-cli: " << error.what() << "\n";
        return kExitFailed;
    }
    return 0;
}
