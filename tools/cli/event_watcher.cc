#include "event_watcher.h"

#include "event_formatter.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::cli {

std::string watch_events(const Peer& daemon, const EventWatch& watch, std::ostream& out) {
    const auto stub = vantaapi::VantaApi::NewStub(daemon.channel);
    grpc::ClientContext context;
    const auto stream = stub->Subscribe(&context);
    vantaapi::VantaEvent event;
    bool started = false;
    for (long printed = 0; watch.count < 0 || printed < watch.count;) {
        if (!stream->Read(&event)) {
            const grpc::Status status = stream->Finish();
            // A daemon that stops closes its socket under the streams it
            // serves: once the stream had started, that is its end.
            const bool daemon_stopped =
                started && (status.error_code() == grpc::StatusCode::UNAVAILABLE ||
                            status.error_code() == grpc::StatusCode::CANCELLED);
            if (!daemon_stopped) {
                throw_unless_ok(status, daemon);
            }
            return "the daemon ended the event stream";
        }
        started = true;
        if (watch.filter.accepts(event)) {
            out << (watch.json ? json_line(event) : human_line(event)) << std::endl;
            ++printed;
        }
    }
    context.TryCancel();
    return "";
}

}  // namespace vanta::cli
