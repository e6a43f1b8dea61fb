#include "cli_errors.h"

#include <algorithm>

#include "rpc/client/grpc_exceptions.h"

namespace vanta::cli {

Peer Peer::connect(const std::string& kind, const std::string& address) {
    return Peer{kind, address, grpc::CreateChannel(address, grpc::InsecureChannelCredentials())};
}

std::string failure_line(const grpc::Status& status, const Peer& peer) {
    // A peer that answered leaves the channel ready; a connection that never
    // came up leaves it failing, whatever gRPC wrote into the status.
    const bool reached = peer.channel->GetState(false) == GRPC_CHANNEL_READY;
    std::string text;
    if (status.error_code() == grpc::StatusCode::UNAVAILABLE && !reached) {
        text = peer.kind + " not reachable at " + peer.address;
    } else {
        text = status.error_message();
        std::replace(text.begin(), text.end(), '\n', ' ');
    }
    return GrpcStatusCodeToString(status.error_code()) + (text.empty() ? "" : ": " + text);
}

void throw_unless_ok(const grpc::Status& status, const Peer& peer) {
    if (!status.ok()) {
        throw CallFailed(failure_line(status, peer));
    }
}

}  // namespace vanta::cli
