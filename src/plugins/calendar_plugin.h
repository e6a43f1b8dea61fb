#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/calendar/calendar_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The room's bookings from the calendar service: each updated booking list the
// service pushes becomes a calendar state for API subscribers, in the order it
// arrives; nothing is kept for later subscribers.
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
    // Runs on the client's stream thread.
    void handle_calendar_update(const calendar::CalendarUpdate& update);
    void update_calendar_state(vantaapi::CalendarState::code state,
                               const calendar::CalendarEventList& list);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
    // Last: its stream thread calls into the members above.
    std::unique_ptr<calendar::CalendarClient> client_;
};

}  // namespace vanta
