// What `vanta-cli events` prints and which events it keeps: the one-line
// human form and the JSON form of events of several shapes, and the --filter
// names. The events and what is expected of them are tables in
// cli_cases.json.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_cases.h"
#include "cli_errors.h"
#include "event_filter.h"
#include "event_formatter.h"
#include "support/bus_translation_table.h"

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;
using vantaapi::VantaEvent;

TEST(EventLines, ShowTheCaseAndTheFieldsThatSayAnythingOnOneLine) {
    const auto rows = cli_cases("events");
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) {
        const auto event = from_text<VantaEvent>(row.at("event"));
        EXPECT_EQ(cli::human_line(event), row.at("human"));
        // JSON: one object in the JSON mapping, every field included.
        if (row.contains("json")) {
            EXPECT_EQ(cli::json_line(event), row["json"]);
        }
    }
}

// Rows that name no case are refused, naming the close ones.
TEST(EventFilter, KeepsTheNamedCasesGivenRepeatedOrAsAListRefusingOthers) {
    const auto events = cli_cases("events");
    const auto rows = cli_cases("filters");
    ASSERT_EQ(rows.size(), 7u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dump());
        try {
            const cli::EventFilter filter(row.at("names").get<std::vector<std::string>>());
            std::vector<std::string> kept;
            for (const auto& event : events) {
                if (filter.accepts(from_text<VantaEvent>(event.at("event")))) {
                    const std::string line = event.at("human");
                    kept.push_back(line.substr(0, line.find(' ')));
                }
            }
            EXPECT_EQ(nlohmann::json(kept), row.value("keeps", nlohmann::json()));
        } catch (const cli::UsageError& refusal) {
            EXPECT_THAT(refusal.what(), HasSubstr(row.value("says", "(not refused)")));
        }
    }
}

}  // namespace
}  // namespace vanta::testing
