#include "plugins/calendar_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

CalendarPlugin::CalendarPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                               PluginRegistrar&) {}

grpc::Status CalendarPlugin::get_calendar_events(grpc::ServerContext*,
                                                 const vantaapi::CalendarEventsRequest*,
                                                 vantaapi::CalendarEventList*) {
    return not_available_yet("CalendarPlugin::get_calendar_events");
}

grpc::Status CalendarPlugin::dismiss_calendar_event(grpc::ServerContext*,
                                                    const vantaapi::CalendarEventRequest*,
                                                    google::protobuf::Empty*) {
    return not_available_yet("CalendarPlugin::dismiss_calendar_event");
}

grpc::Status CalendarPlugin::dismiss_calendar_events(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     google::protobuf::Empty*) {
    return not_available_yet("CalendarPlugin::dismiss_calendar_events");
}

}  // namespace vanta
