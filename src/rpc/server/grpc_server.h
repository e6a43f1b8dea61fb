#pragma once

namespace vanta {

// A host that serves one gRPC service on one address until it is destroyed.
class GrpcServer {
  public:
    // Access mode given to the socket file of a "unix:" address once it is bound.
    enum class AccessLevel {
        Unchanged = 0,   // the mode the socket was created with
        OwnerWrite = 1,  // 0644
        GroupWrite = 2,  // 0664
        AllWrite = 3,    // 0666
    };

    virtual ~GrpcServer() = default;

    // Builds and starts the server; later calls do nothing. Throws
    // std::runtime_error when the server cannot be started or the socket mode
    // cannot be set.
    virtual void run(AccessLevel level) = 0;
};

}  // namespace vanta
