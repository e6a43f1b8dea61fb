#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/phonebook/phonebook_client.h"
#include "phonebook.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::phonebook {

class ClientImpl final : public GrpcClient<Phonebook, Client> {
  public:
    ClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    SearchResponse Search(const SearchRequest& request) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::phonebook
