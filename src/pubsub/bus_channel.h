#pragma once

#include <memory>
#include <string>

#include <grpcpp/channel.h>

namespace vanta::pubsub {

// A channel to the broker at `address` with insecure credentials.
//
// The broker is a local daemon that restarts now and then; the channel retries
// a lost connection every 100 ms instead of gRPC's default backoff (which grows
// to two minutes), and it does not share its connection with other channels, so
// that a fresh channel really starts a fresh connection.
std::shared_ptr<grpc::Channel> create_bus_channel(const std::string& address);

}  // namespace vanta::pubsub
