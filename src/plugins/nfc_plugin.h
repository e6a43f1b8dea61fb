#pragma once

#include <memory>

#include "clients/nfc/nfc_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Each change of the card on the NFC reader becomes a `card_state_changed`
// event (published on the NFC stream's reader thread).
class NfcPlugin {
  public:
    // The client talks to `nfc`, the catalogue's row of that name.
    NfcPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
              PluginRegistrar& registrar, const Endpoint& nfc = device_endpoints().nfc);
    NfcPlugin(const NfcPlugin&) = delete;
    NfcPlugin& operator=(const NfcPlugin&) = delete;

  private:
    void send_card_state(nfc::CardState state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<nfc::Client> client_;
};

}  // namespace vanta
