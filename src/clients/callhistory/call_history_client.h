#pragma once

#include <chrono>
#include <memory>

#include "callhistory.pb.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::callhistory {

// The call-history backend: the list of past calls.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual ListRecordsResponse ListRecords(const ListRecordsRequest& request) = 0;
};

// The device's call history is never contacted: the client is the in-process
// substitute.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::callhistory
