#include "clients/phonebook/phonebook_client_impl.h"

#include <memory>

#include "runtime/logging/loggers.h"

namespace vanta::phonebook {

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kPhonebookServiceName, operation, timeout_, logger_};
}

SearchResponse ClientImpl::Search(const SearchRequest& request) {
    return clients::call_or_throw(stub(), &Phonebook::Stub::Search, request, call("Search"));
}

std::unique_ptr<Client> create_client(std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(kPhonebookAddress, timeout,
                                        logging::getLogger("PhonebookClient"));
}

}  // namespace vanta::phonebook
