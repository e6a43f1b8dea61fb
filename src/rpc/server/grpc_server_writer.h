#pragma once

namespace vanta {

// One attached server stream, as the event fan-out sees it.
template <typename T>
class GrpcServerWriter {
  public:
    virtual ~GrpcServerWriter() = default;

    // Hands `event` to the stream. Called under the fan-out's mutex, so it must
    // not block on the network.
    virtual void send(const T& event) = 0;
};

}  // namespace vanta
