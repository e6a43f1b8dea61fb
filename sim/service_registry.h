#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "serviceregistry.grpc.pb.h"

namespace vanta::sim {

// The service registry daemon: keeps the addresses that services register and
// answers look-ups from them. Its owner can plant entries (also ones that answer
// under another name), make registration fail, and read what was registered.
class ServiceRegistry final : public vanta::serviceregistry::ServiceRegistryService::Service {
  public:
    struct Registration {
        std::string service;
        std::string address;
        int pid = 0;
    };

    grpc::Status RegisterService(grpc::ServerContext* /*context*/,
                                 const vanta::serviceregistry::RegisterServiceRequest* request,
                                 vanta::serviceregistry::RegistrationResult* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        registrations_.push_back({request->service(), request->address(), request->pid()});
        changed_.notify_all();
        if (register_error_) {
            return *register_error_;
        }
        entries_[request->service()] = {request->service(), request->address()};
        response->set_result(true);
        response->set_active(true);
        return grpc::Status::OK;
    }

    grpc::Status UnregisterService(grpc::ServerContext* /*context*/,
                                   const vanta::serviceregistry::ServiceRequest* request,
                                   vanta::serviceregistry::RegistrationResult* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (entries_.erase(request->service()) == 0) {
            return grpc::Status(grpc::StatusCode::NOT_FOUND, "no such service");
        }
        response->set_result(true);
        return grpc::Status::OK;
    }

    grpc::Status GetService(grpc::ServerContext* /*context*/,
                            const vanta::serviceregistry::ServiceRequest* request,
                            vanta::serviceregistry::ServiceData* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lookups_.push_back(request->service());
        const auto entry = entries_.find(request->service());
        if (entry == entries_.end()) {
            return grpc::Status(grpc::StatusCode::NOT_FOUND, "no such service");
        }
        response->set_service(entry->second.first);
        response->set_address(entry->second.second);
        return grpc::Status::OK;
    }

    // Answers look-ups of `service` with `address`.
    void add_entry(const std::string& service, const std::string& address) {
        answer_as(service, service, address);
    }
    // Answers look-ups of `service` with an entry named `answered_name`.
    void answer_as(const std::string& service, const std::string& answered_name,
                   const std::string& address) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_[service] = {answered_name, address};
    }
    // From now on RegisterService records the request and answers `error`.
    void fail_registrations(const grpc::Status& error) {
        std::lock_guard<std::mutex> lock(mutex_);
        register_error_ = error;
    }

    std::vector<Registration> registrations() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return registrations_;
    }
    std::vector<std::string> lookups() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lookups_;
    }
    // Waits (bounded) until `count` registrations have arrived.
    bool wait_for_registrations(size_t count,
                                std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return registrations_.size() >= count; });
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // Looked-up name -> (name answered, address).
    std::map<std::string, std::pair<std::string, std::string>> entries_;
    std::vector<Registration> registrations_;
    std::vector<std::string> lookups_;
    std::optional<grpc::Status> register_error_;
};

}  // namespace vanta::sim
