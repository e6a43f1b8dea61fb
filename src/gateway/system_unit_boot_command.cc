#include "gateway/system_unit_boot_command.h"

#include "gateway/json_schema.h"

namespace vanta::zapi {

using nlohmann::json;

json SystemUnitBootCommand::schema() const {
    const auto optional_choice = [](const std::vector<std::string>& values) {
        return json::object({{"required", false}, json_schema::enum_schema(values, std::nullopt)});
    };
    return {{"arguments",
             {{"Action", optional_choice({"Restart", "Shutdown"})},
              {"Force", optional_choice({"True", "False"})}}},
            {"body", nullptr},
            {"result", object_or_null_result()}};
}

json SystemUnitBootCommand::invoke(const json& arguments) const {
    bool force = false;
    try {
        force = arguments.at("arguments").at("Force") == "True";
    } catch (const json::exception&) {
        // No arguments, or not an object: an ordinary restart.
    }
    const std::optional<bool> restarting = client_->Reboot(force);
    if (!restarting) {
        return failed_answer();
    }
    if (*restarting) {
        return succeeded_answer({{"Action", "Restart"}, {"Description", "Restarting"}});
    }
    return succeeded_answer({{"Action", "None"},
                             {"Description", "Not booting, system is currently in use"},
                             {"Reason", "LocalUsage"}});
}

}  // namespace vanta::zapi
