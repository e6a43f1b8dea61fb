#include "rpc/client/grpc_exception_handler.h"

#include <stdexcept>

#include "rpc/client/grpc_exceptions.h"

namespace vanta {

namespace {

grpc::Status mapped(grpc::StatusCode code, const std::string& name, const std::exception& e) {
    return grpc::Status(code, name + ": [" + e.what() + "]");
}

}  // namespace

grpc::Status grpc_exception_handler(const std::string& name, const std::function<void()>& body) {
    try {
        body();
        return grpc::Status::OK;
    } catch (const std::invalid_argument& e) {
        return mapped(grpc::StatusCode::INVALID_ARGUMENT, name, e);
    } catch (const ServiceUnavailableError& e) {
        return mapped(grpc::StatusCode::UNAVAILABLE, name, e);
    } catch (const ServiceDeadlineError& e) {
        return mapped(grpc::StatusCode::DEADLINE_EXCEEDED, name, e);
    } catch (const ServiceInvalidArgumentError& e) {
        return mapped(grpc::StatusCode::INVALID_ARGUMENT, name, e);
    } catch (const ServiceMethodNotImplementedError& e) {
        return mapped(grpc::StatusCode::UNIMPLEMENTED, name, e);
    } catch (const ServiceResourceNotFoundError& e) {
        return mapped(grpc::StatusCode::NOT_FOUND, name, e);
    } catch (const ServiceFailedPrecondition& e) {
        return mapped(grpc::StatusCode::FAILED_PRECONDITION, name, e);
    } catch (const ServiceInternalError& e) {
        return mapped(grpc::StatusCode::INTERNAL, name, e);
    } catch (const GrpcDefaultException& e) {
        return mapped(grpc::StatusCode::UNKNOWN, name, e);
    }
}

}  // namespace vanta
