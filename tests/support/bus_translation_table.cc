#include "support/bus_translation_table.h"

#include <google/protobuf/io/tokenizer.h>

#include "bus_translation.pb.h"
#include "calling.pb.h"
#include "nimboroomcontrol.pb.h"
#include "support/data_files.h"

namespace vanta::testing {
namespace {

using google::protobuf::TextFormat;

// Rows leave the table only on purpose: lower this with them. It also stops
// a file cut short between two rows from passing as a smaller table.
constexpr int kRowsInTable = 180;

// Line 0 stands for the whole file.
[[noreturn]] void fail(int line, const std::string& what) {
    const std::string where = line > 0 ? ":" + std::to_string(line) : "";
    throw std::runtime_error(VANTA_BUS_TRANSLATION_TABLE + where + ": " + what);
}

class FirstError final : public google::protobuf::io::ErrorCollector {
  public:
    void AddError(int line, int, const std::string& message) override {
        if (message_.empty()) {
            line_ = line + 1;
            message_ = message;
        }
    }
    void raise() const { fail(line_, message_); }

  private:
    int line_ = 0;
    std::string message_;
};

static_assert(static_cast<int>(Raises::runtime_error) == BusTranslation::RUNTIME_ERROR);

Row row_from(const BusTranslation& text, int line) {
    if (text.topic().empty()) {
        fail(line, "row without a topic");
    }
    if (text.silent() && text.logs_size() > 0) {
        fail(line, "a silent row with log lines");
    }
    if (!BusTranslation::Raises_IsValid(text.raises())) {
        fail(line, "no such error kind");
    }
    if (!text.error_text().empty() && text.raises() != BusTranslation::RUNTIME_ERROR) {
        fail(line, "an error text without a runtime error");
    }
    if (text.has_publishes() &&
        text.publishes().data_case() == vantaapi::VantaEvent::DATA_NOT_SET) {
        fail(line, "a published event without a case");
    }
    Row row = on(text.topic(), text.event()).with_data(text.data());
    row.attributes.insert(text.attributes().begin(), text.attributes().end());
    if (text.has_message_data()) {
        row.message_data = text.message_data();
    }
    if (text.has_publishes()) {
        TextFormat::Printer printer;
        printer.SetSingleLineMode(true);
        printer.PrintToString(text.publishes(), &row.published);
    }
    if (text.silent() || text.logs_size() > 0) {
        row.logs.emplace(text.logs().begin(), text.logs().end());
    }
    row.raises = static_cast<Raises>(text.raises());
    row.error_text = text.error_text();
    return row;
}

}  // namespace

pubsub::PubSubMsg bus_message(const Row& row) {
    pubsub::PubSubMsg message;
    message.set_topic(row.topic);
    message.set_event(row.event);
    message.set_data(row.data);
    message.mutable_attributes()->insert(row.attributes.begin(), row.attributes.end());
    if (row.message_data) {
        *message.mutable_message_data() = *row.message_data;
    }
    return message;
}

std::vector<Row> translation_table() {
    // The types that rows pack into message_data, named so that every program
    // reading the table links their descriptors and the text can expand them.
    calling::ShareAvailable::descriptor();
    nimboroomcontrol::SpaceDeviceInfo::descriptor();

    const std::string text = read_text(VANTA_BUS_TRANSLATION_TABLE);
    BusTranslationTable table;
    TextFormat::ParseInfoTree locations;
    FirstError error;
    TextFormat::Parser parser;
    parser.RecordErrorsTo(&error);
    parser.WriteLocationsTo(&locations);
    if (!parser.ParseFromString(text, &table)) {
        error.raise();
    }
    const auto* row_field = BusTranslationTable::descriptor()->FindFieldByName("row");
    std::vector<Row> rows;
    for (int i = 0; i < table.row_size(); ++i) {
        rows.push_back(row_from(table.row(i), locations.GetLocation(row_field, i).line + 1));
    }
    if (table.row_size() < kRowsInTable) {
        fail(0, std::to_string(table.row_size()) + " rows instead of at least " +
                    std::to_string(kRowsInTable));
    }
    return rows;
}

}  // namespace vanta::testing
