#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/calendar/calendar_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The room's bookings from the calendar service.
class CalendarPlugin {
  public:
    // The client talks to `calendar`, the catalogue's calendar row.
    CalendarPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                   PluginRegistrar& registrar,
                   const Endpoint& calendar = device_endpoints().calendar);
    CalendarPlugin(const CalendarPlugin&) = delete;
    CalendarPlugin& operator=(const CalendarPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status get_calendar_events(grpc::ServerContext* context,
                                     const vantaapi::CalendarEventsRequest* request,
                                     vantaapi::CalendarEventList* response);
    grpc::Status dismiss_calendar_event(grpc::ServerContext* context,
                                        const vantaapi::CalendarEventRequest* request,
                                        google::protobuf::Empty* response);
    grpc::Status dismiss_calendar_events(grpc::ServerContext* context,
                                         const google::protobuf::Empty* request,
                                         google::protobuf::Empty* response);

  private:
    std::unique_ptr<calendar::CalendarClient> client_;
};

}  // namespace vanta
