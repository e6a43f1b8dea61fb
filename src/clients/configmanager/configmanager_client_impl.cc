#include "clients/configmanager/configmanager_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::configmanager {

namespace {
using Stub = Configuration::Stub;
const google::protobuf::Empty kEmpty;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, "configmanager::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.what() == STREAM_STARTED);
}

std::string ClientImpl::GetLocale() {
    return clients::call_or_throw(stub(), &Stub::GetLocale, kEmpty, call("GetLocale")).language();
}

bool ClientImpl::SetLocale(const std::string& language) {
    LocaleData request;
    request.set_language(language);
    return clients::call_or_throw(stub(), &Stub::SetLocale, request, call("SetLocale")).success();
}

TimezoneData ClientImpl::GetTimezone() {
    return clients::call_or_throw(stub(), &Stub::GetTimezone, kEmpty, call("GetTimezone"));
}

bool ClientImpl::SetTimezone(const std::string& timezone, const std::string& date_template) {
    TimezoneData request;
    request.set_timezone(timezone);
    request.set_date_template(date_template);
    return clients::call_or_throw(stub(), &Stub::SetTimezone, request, call("SetTimezone"))
        .success();
}

GeoServiceInfoData ClientImpl::GetGeoServiceInfo() {
    return clients::call_or_throw(stub(), &Stub::GetGeoServiceInfo, kEmpty,
                                  call("GetGeoServiceInfo"));
}

bool ClientImpl::GetGuiSettingsEnabled() {
    return clients::call_or_throw(stub(), &Stub::GetGuiSettingsEnabled, kEmpty,
                                  call("GetGuiSettingsEnabled"))
        .gui_settings_enabled();
}

std::vector<std::string> ClientImpl::GetRingToneList() {
    const RingToneList reply =
        clients::call_or_throw(stub(), &Stub::GetRingToneList, kEmpty, call("GetRingToneList"));
    return {reply.name().begin(), reply.name().end()};
}

std::string ClientImpl::GetRingTone() {
    return clients::call_or_throw(stub(), &Stub::GetRingTone, kEmpty, call("GetRingTone")).name();
}

bool ClientImpl::SetRingTone(const std::string& name) {
    RingToneData request;
    request.set_name(name);
    return clients::call_or_throw(stub(), &Stub::SetRingTone, request, call("SetRingTone"))
        .success();
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, &executor);
}

}  // namespace vanta::configmanager
