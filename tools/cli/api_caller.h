#pragma once

#include <memory>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

namespace vanta::cli {

// Calls any unary operation of the VantaApi service by name, with the
// request and the answer in JSON (the schemas' own JSON mapping).
class ApiCaller {
  public:
    explicit ApiCaller(std::shared_ptr<grpc::Channel> channel);

    struct Answer {
        grpc::Status status;
        std::string json;  // the response, when the status is OK
    };
    // Throws std::invalid_argument for an unknown operation or a request that
    // is not JSON of the operation's request type.
    Answer call(const std::string& operation, const std::string& request_json);

    // The unary operations, in service order, as "Name(Request) -> Response".
    static std::vector<std::string> operations();

  private:
    std::shared_ptr<grpc::Channel> channel_;
};

}  // namespace vanta::cli
