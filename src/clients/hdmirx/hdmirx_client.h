#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "hdmirx.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta {

// The HDMI input service: the cable state and the local wired share.
//
// GetHdmiState and GetLocalWiredShareStatistics give nothing when the service
// could not be reached or could not serve the call (the failure is logged as
// "<Op> request failed, ..."), and raise std::runtime_error for any other
// failure. Starting and stopping the share raise the typed error of a failed
// call (GrpcException family).
class HdmiRxClient : public GrpcClientBase {
  public:
    virtual std::optional<hdmirx::HdmiState> GetHdmiState() = 0;
    virtual hdmirx::RenderResponse::Status StartLocalWiredShare() = 0;
    virtual hdmirx::RenderResponse::Status StopLocalWiredShare() = 0;
    virtual std::optional<hdmirx::LocalWiredShareStatistics> GetLocalWiredShareStatistics() = 0;
};

// A client of the HDMI input service at `endpoint` (the catalogue's hdmirx row).
std::unique_ptr<HdmiRxClient> create_hdmirx_client(const Endpoint& endpoint);

}  // namespace vanta
