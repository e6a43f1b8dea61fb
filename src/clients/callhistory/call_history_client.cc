#include "clients/callhistory/call_history_client.h"

#include "clients/callhistory/call_history_client_stub.h"

namespace vanta::callhistory {

std::unique_ptr<Client> create_client(Executor& /*executor*/,
                                      std::chrono::milliseconds /*timeout*/) {
    return std::make_unique<ClientStub>();
}

}  // namespace vanta::callhistory
