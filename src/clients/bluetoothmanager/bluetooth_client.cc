#include "clients/bluetoothmanager/bluetooth_client.h"

#include "clients/bluetoothmanager/bluetooth_client_stub.h"

namespace vanta::bluetoothmanager {

std::unique_ptr<Client> create_client(Executor& /*executor*/,
                                      std::chrono::milliseconds /*timeout*/) {
    return std::make_unique<ClientStub>();
}

}  // namespace vanta::bluetoothmanager
