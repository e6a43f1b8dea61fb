#include "clients/nimboroomcontrol/nimboroomcontrol_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

namespace vanta::nimboroomcontrol {

namespace {
using Stub = NimboRoomControl::Stub;
using clients::call_or_throw;
const google::protobuf::Empty kEmpty;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("NimboRoomControlClient")) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

bool ClientImpl::IncreaseVolume() {
    return call_or_throw(stub(), &Stub::IncreaseVolume, kEmpty, call("IncreaseVolume")).success();
}

bool ClientImpl::DecreaseVolume() {
    return call_or_throw(stub(), &Stub::DecreaseVolume, kEmpty, call("DecreaseVolume")).success();
}

bool ClientImpl::SetVolume(std::uint32_t volume) {
    VolumeValue request;
    request.set_volume(volume);
    return call_or_throw(stub(), &Stub::SetVolume, request, call("SetVolume")).success();
}

bool ClientImpl::MuteMicrophone() {
    return call_or_throw(stub(), &Stub::MuteMicrophone, kEmpty, call("MuteMicrophone")).success();
}

bool ClientImpl::UnmuteMicrophone() {
    return call_or_throw(stub(), &Stub::UnmuteMicrophone, kEmpty, call("UnmuteMicrophone"))
        .success();
}

SpaceDeviceInfo ClientImpl::GetSpaceInfo() {
    return call_or_throw(stub(), &Stub::GetSpaceInfo, kEmpty, call("GetSpaceInfo"));
}

std::unique_ptr<Client> create_nimboroomcontrol_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta::nimboroomcontrol
