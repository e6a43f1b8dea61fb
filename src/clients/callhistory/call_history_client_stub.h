#pragma once

#include "clients/callhistory/call_history_client.h"
#include "rpc/client/grpc_client_stub.h"

namespace vanta::callhistory {

// Stands in for the call history: there are no records.
class ClientStub final : public GrpcObservableClientStub<Client, Event> {
  public:
    ListRecordsResponse ListRecords(const ListRecordsRequest& /*request*/) override { return {}; }
};

}  // namespace vanta::callhistory
