#include "event_filter.h"

#include <sstream>

#include "cli_errors.h"
#include "event_cases.h"
#include "name_suggestions.h"

namespace vanta::cli {

EventFilter::EventFilter(const std::vector<std::string>& cases) {
    for (const auto& entry : cases) {
        std::istringstream names(entry);
        std::string name;
        while (std::getline(names, name, ',')) {
            if (name.empty()) {
                continue;
            }
            const auto* field = find_event_case(name);
            if (field == nullptr) {
                throw UsageError(unknown_name_text("event case", name, event_case_names(),
                                                   "`vanta-cli events --help` lists them all"));
            }
            accepted_.insert(field->number());
        }
    }
    if (accepted_.empty() && !cases.empty()) {
        throw UsageError("no event case named in --filter");
    }
}

bool EventFilter::accepts(const vantaapi::VantaEvent& event) const {
    return accepted_.empty() || accepted_.count(static_cast<int>(event.data_case())) > 0;
}

}  // namespace vanta::cli
