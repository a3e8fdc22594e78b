#include <fstream>
#include <memory>
#include <sstream>

#include "Checks.h"
#include "CsvReader.h"
#include "Database.h"
#include "ImportReview.h"
#include "ResultImport.h"
#include "Schema.h"

namespace hostile {

namespace {

using Fields = std::vector<std::string>;

struct Records {
    std::vector<std::pair<long long, Fields>> lines;  // each record with its first line
    long long end = 0;                                // the position after the last
    bool operator==(const Records&) const = default;
};

Records readAll(const std::string& text, std::size_t chunk) {
    std::istringstream in(text);
    import::CsvReader reader(in, chunk);
    Records out;
    Fields record;
    while (reader.Next(record)) out.lines.emplace_back(reader.Line(), record);
    out.end = reader.Position();
    return out;
}

// Stations, parameters, remarks and two hand-entered samples with results, so that rows
// meet every check: found, replaced, refused, a new sample made.
platform::Database& labDatabase() {
    static const std::shared_ptr<platform::Database> db = [] {
        auto made = store::CreateEmptyDatabase(ScratchFile("lab.db"));
        made->ExecuteNative(
            "begin;"
            "insert into tblstation_information (station_id) values (101), (102);"
            "insert into TBLParameter_Codes values (10, 'Temp', 'Temperature'),"
            " (300, 'DO', 'Oxygen'), (400, 'pH', 'pH');"
            "insert into tblresults_remarks values ('<', 'below'), ('J', 'estimated');"
            "insert into tblprojects_programs (project_code) values ('P1');"
            "insert into tblmedium (medium) values ('W');"
            "insert into tblsample_type (sample_type) values ('G');"
            "insert into tblsample (idloc, sample_code, station_id, start_date) values"
            " ('V', 1, 101, '2005-06-07 14:05:00'), ('V', 2, 102, '2005-06-08 09:00:00');"
            "insert into tblresults values ('V', 1, 400, 7.1, NULL, 'A', 'field');"
            "insert into tblresults_val_nonnumeric values ('V', 1, 10, 'ICE', NULL, 'A');"
            "insert into tblreplicates values ('V', 2, 300, '8.1', NULL, 'A');"
            "commit;");
        return made;
    }();
    return *db;
}

// Checks each row as it comes, and keeps the refused ones as the window does.
class Rows : public import::RowObserver {
  public:
    bool Row(long long line, const Fields& record, const import::CheckedRow& row) override {
        ++count;
        const bool refused = row.mark == import::Mark::Refused;
        if (refused == row.reason.empty() && !broken)
            broken = "line " + std::to_string(line) +
                     (refused ? " is refused with no reason"
                              : " is not refused yet has a reason: " + row.reason);
        if (row.needsChoice && !refused && !broken)
            broken = "line " + std::to_string(line) + " waits for a choice but is not refused";
        if (refused) this->refused.emplace_back(record, row.reason);
        return review.Row(line, record, row);
    }
    long long count = 0;
    Verdict broken;
    import::ImportReview review;
    std::vector<std::pair<Fields, std::string>> refused;
};

Verdict checkRows(const std::string& text, const Records& records,
                  const import::ImportSettings& settings) {
    std::istringstream in(text);
    Rows rows;
    const auto outcome = import::CheckResults(labDatabase(), in, settings, &rows, nullptr);
    if (rows.broken) return rows.broken;
    const auto data = static_cast<long long>(records.lines.size()) -
                      (settings.header && !records.lines.empty() ? 1 : 0);
    if (rows.count != data || outcome.stopped)
        return std::to_string(rows.count) + " rows checked of " + std::to_string(data);
    if (outcome.counts.Stored() + outcome.counts.refused != data)
        return "the counts (" + import::CountsText(outcome.counts) + ") miss rows of " +
               std::to_string(data);

    const Fields header =
        settings.header && !records.lines.empty() ? records.lines[0].second : Fields{};
    const std::string file = ScratchFile("refused.csv");
    rows.review.SaveRefused(file, header);
    // Each refused row as it was, filled out to the header's width, then its reason.
    std::vector<Fields> expected;
    if (!header.empty()) {
        expected.push_back(header);
        expected.back().push_back("reason");
    }
    for (const auto& [record, reason] : rows.refused) {
        expected.push_back(record);
        if (expected.back().size() < header.size()) expected.back().resize(header.size());
        expected.back().push_back(reason);
    }
    std::ifstream saved(file, std::ios::binary);
    import::CsvReader reader(saved);
    std::vector<Fields> back;
    for (Fields record; reader.Next(record);) back.push_back(record);
    if (back.size() != expected.size())
        return "the refused-rows file reads back as " + std::to_string(back.size()) +
               " records, not " + std::to_string(expected.size());
    for (std::size_t i = 0; i < back.size(); ++i)
        if (back[i] != expected[i])
            return "record " + std::to_string(i + 1) + " of the refused-rows file, written as " +
                   Shown(expected[i]) + ", reads back as " + Shown(back[i]);
    return std::nullopt;
}

}  // namespace

Verdict CheckLabFile(std::string_view input) {
    const std::string text(input);
    const Records records = readAll(text, import::CsvReader::kChunk);
    if (records.end != static_cast<long long>(text.size()))
        return "the reader ends at byte " + std::to_string(records.end) + " of " +
               std::to_string(text.size());
    for (std::size_t i = 1; i < records.lines.size(); ++i)
        if (records.lines[i].first <= records.lines[i - 1].first)
            return "record " + std::to_string(i + 1) + " begins on line " +
                   std::to_string(records.lines[i].first) + ", not after the one before";
    for (const std::size_t chunk : {1, 2, 7})
        if (readAll(text, chunk) != records)
            return "read " + std::to_string(chunk) +
                   " bytes at a time, the file gives other records";

    // Columns mapped by the header, else in the order the program's own header names them.
    import::ImportSettings settings;
    std::istringstream head(text);
    settings.map = import::MapOfHeader(head);
    if (settings.map.Missing()) {
        for (std::size_t f = 0; f < import::kFieldCount; ++f)
            settings.map.Set(static_cast<import::Field>(f), static_cast<int>(f));
        settings.header =
            !records.lines.empty() && import::LooksLikeHeader(records.lines[0].second);
    }
    std::istringstream marks(text);
    const bool comma = import::WritesDecimalComma(marks, settings);
    settings.newSamples = {true, "P1", "W", "G"};
    // The mark the file writes, numbers written otherwise refused; then the other mark,
    // such numbers stored as typed.
    for (const bool decimalComma : {comma, !comma}) {
        settings.reading.decimalComma = decimalComma;
        settings.reading.writtenOtherwise = decimalComma == comma
                                                ? import::WrittenOtherwise::Refuse
                                                : import::WrittenOtherwise::AsTyped;
        if (auto broken = checkRows(text, records, settings))
            return *broken + (decimalComma ? " (decimal comma)" : " (decimal point)");
    }
    return std::nullopt;
}

}  // namespace hostile
