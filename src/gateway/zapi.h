#pragma once

#include <memory>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "gateway/vantaapi_client.h"

namespace vanta::zapi {

// One command or status of the gateway: its dotted path, the schema of its
// request and answer, and the work itself, done through the VantaApi client.
// Objects are immutable; invoke() keeps its state in locals, so one object
// serves concurrent calls.
class Zapi {
  public:
    virtual ~Zapi() = default;
    virtual std::string path() const = 0;
    virtual nlohmann::json schema() const = 0;
    virtual nlohmann::json invoke(const nlohmann::json& arguments) const = 0;
};

// A command answers {"result": ..., "statusCode": 200} when it succeeded and
// {"result": null, "statusCode": 500} when it did not.
class XCommand : public Zapi {
  protected:
    explicit XCommand(std::shared_ptr<VantaApiClient> client) : client_(std::move(client)) {}

    static nlohmann::json failed_answer() { return {{"result", nullptr}, {"statusCode", 500}}; }
    static nlohmann::json succeeded_answer(nlohmann::json result) {
        return {{"result", std::move(result)}, {"statusCode", 200}};
    }
    // The "result" schema of a command whose result is an object or null.
    static nlohmann::json object_or_null_result() {
        return {{"schema", {{"type", {"object", "null"}}}}};
    }
    // The schema of a command that takes no arguments and has no result.
    static nlohmann::json no_arguments_schema() {
        return {{"arguments", nullptr}, {"body", nullptr}, {"result", object_or_null_result()}};
    }

    std::shared_ptr<VantaApiClient> client_;
};

class XStatus : public Zapi {
  protected:
    explicit XStatus(std::shared_ptr<VantaApiClient> client) : client_(std::move(client)) {}
    std::shared_ptr<VantaApiClient> client_;
};

}  // namespace vanta::zapi
