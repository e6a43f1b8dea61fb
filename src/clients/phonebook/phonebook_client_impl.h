#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/phonebook/phonebook_client.h"
#include "phonebook.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::phonebook {

inline const std::string kPhonebookAddress = "unix:/tmp/phonebook_service";
inline const std::string kPhonebookServiceName = "PhonebookService";

class ClientImpl final : public GrpcClient<Phonebook, Client> {
  public:
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger);

    SearchResponse Search(const SearchRequest& request) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::phonebook
