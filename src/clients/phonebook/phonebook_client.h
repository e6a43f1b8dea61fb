#pragma once

#include <chrono>
#include <memory>

#include "phonebook.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::phonebook {

// The daemon's client of the phone book: directory search. A failed call
// raises its GrpcException (handle_grpc_status).
class Client : public GrpcClientBase {
  public:
    ~Client() override = default;

    // One page of the entries matching `request`; the answer's own `status`
    // says whether the directory could search.
    virtual SearchResponse Search(const SearchRequest& request) = 0;
};

// The phone book's client, "PhonebookClient", at `endpoint` (the catalogue's
// phonebook row).
std::unique_ptr<Client> create_client(const Endpoint& endpoint);

}  // namespace vanta::phonebook
