#include "clients/hdmirx/hdmirx_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
using Stub = hdmirx::HdmiRx::Stub;
}  // namespace

HdmiRxClientImpl::HdmiRxClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall HdmiRxClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

std::optional<hdmirx::HdmiState> HdmiRxClientImpl::GetHdmiState() {
    return clients::call_or_empty(stub(), &Stub::GetHdmiState, google::protobuf::Empty(),
                                  call("GetHdmiState"));
}

hdmirx::RenderResponse::Status HdmiRxClientImpl::StartLocalWiredShare() {
    return clients::call_or_throw(stub(), &Stub::StartLocalWiredShare, google::protobuf::Empty(),
                                  call("StartLocalWiredShare"))
        .status();
}

hdmirx::RenderResponse::Status HdmiRxClientImpl::StopLocalWiredShare() {
    return clients::call_or_throw(stub(), &Stub::StopLocalWiredShare, google::protobuf::Empty(),
                                  call("StopLocalWiredShare"))
        .status();
}

std::optional<hdmirx::LocalWiredShareStatistics> HdmiRxClientImpl::GetLocalWiredShareStatistics() {
    return clients::call_or_empty(stub(), &Stub::GetLocalWiredShareStatistics,
                                  google::protobuf::Empty(), call("GetLocalWiredShareStatistics"));
}

std::unique_ptr<HdmiRxClient> create_hdmirx_client(const Endpoint& endpoint) {
    return std::make_unique<HdmiRxClientImpl>(endpoint, logging::getLogger("HdmiRxClient"));
}

}  // namespace vanta
