#include "ResultImport.h"

#include <cctype>
#include <optional>

#include "Conversions.h"
#include "CsvReader.h"
#include "Database.h"
#include "Journal.h"
#include "ResultWriter.h"
#include "Results.h"

namespace import {

namespace {

constexpr long long kProgressEvery = 256;  // rows between progress reports

std::string count(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Reads, checks and counts every row; `writer` (may be null) stores the rows not refused.
ImportOutcome run(platform::Database& db, std::istream& in, const ImportSettings& settings,
                  ResultWriter* writer, RowObserver* observer,
                  platform::ProgressReporter* progress) {
    ImportOutcome out;
    CsvReader reader(in);
    ResultChecker checker(db, settings.map, settings.newSamples, settings.reading);
    std::vector<std::string> record;
    if (settings.header) reader.Next(record);
    for (long long rows = 1; reader.Next(record); ++rows) {
        const CheckedRow row = checker.Check(record);
        ImportCounts& n = out.counts;
        const auto kind = static_cast<size_t>(row.result.kind);
        if (row.mark == Mark::Refused) {
            ++n.refused;
        } else {
            ++n.stored[kind];
            n.replaced[kind] += row.mark == Mark::Replaces;
            if (row.mark == Mark::Replaces &&
                out.replacements.size() < ImportOutcome::kShownReplacements) {
                const store::Result& r = row.result;
                out.replacements.push_back(
                    {r.sampleCode, r.parameterCode, *row.replacedKind, r.kind, row.oldValue,
                     r.kind == store::ResultKind::Numeric ? platform::NumberToEditText(row.number)
                                                          : r.value});
            }
            n.samplesMade += row.newSample.has_value();
            if (writer) writer->Write(row);
        }
        const bool go = (!observer || observer->Row(reader.Line(), record, row)) &&
                        (!progress || rows % kProgressEvery || progress->Step(reader.Position()));
        if (!go) {
            out.stopped = true;
            break;
        }
    }
    return out;
}

}  // namespace

ColumnMap MapOfHeader(std::istream& in) {
    CsvReader reader(in);
    std::vector<std::string> header;
    reader.Next(header);
    return AutoMap(header);
}

bool WritesDecimalComma(std::istream& in, const ImportSettings& settings) {
    CsvReader reader(in);
    if (reader.Separator() == ',' || settings.map[Field::Value] < 0) return false;
    const auto between = [](std::string_view text, char mark) {
        for (size_t i = 1; i + 1 < text.size(); ++i)
            if (text[i] == mark && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
                std::isdigit(static_cast<unsigned char>(text[i + 1])))
                return true;
        return false;
    };
    std::vector<std::string> record;
    if (settings.header) reader.Next(record);
    bool comma = false;
    while (reader.Next(record)) {
        const std::string_view value = settings.map.Text(Field::Value, record);
        if (between(value, '.')) return false;
        comma |= between(value, ',');
    }
    return comma;
}

std::string ReplacedText(const ImportOutcome& outcome) {
    std::string text;
    for (const Replacement& r : outcome.replacements)
        text += "sample " + r.sample + ", parameter " + r.parameter + ": the " +
                store::KindName(r.oldKind) + " " + r.oldValue + " by the " +
                store::KindName(r.newKind) + " " + r.newValue + "\n";
    const long long all =
        outcome.counts.replaced[0] + outcome.counts.replaced[1] + outcome.counts.replaced[2];
    const auto more = all - static_cast<long long>(outcome.replacements.size());
    if (more > 0) text += "and " + std::to_string(more) + " more\n";
    return text;
}

std::string CountsText(const ImportCounts& n) {
    static constexpr std::array<std::array<const char*, 2>, 3> kKinds{
        {{"numeric result", "numeric results"},
         {"text result", "text results"},
         {"replicate", "replicates"}}};
    std::string text;
    for (size_t k = 0; k < kKinds.size(); ++k) {
        text += k == 0 ? "" : k + 1 == kKinds.size() ? " and " : ", ";
        text += count(n.stored[k], kKinds[k][0], kKinds[k][1]);
        if (n.replaced[k] > 0) text += " (" + std::to_string(n.replaced[k]) + " replaced)";
    }
    if (n.samplesMade > 0) text += "; " + count(n.samplesMade, "new sample", "new samples");
    return text + "; " + count(n.refused, "row refused", "rows refused");
}

ImportOutcome CheckResults(platform::Database& db, std::istream& in, const ImportSettings& settings,
                           RowObserver* observer, platform::ProgressReporter* progress) {
    return run(db, in, settings, nullptr, observer, progress);
}

ImportOutcome ImportResults(platform::Database& db, std::istream& in,
                            const ImportSettings& settings, bool skipRefused, RowObserver* observer,
                            platform::ProgressReporter* progress) {
    // The write lock comes first, so the next sample code read is still free at the commit.
    // Journaled as one action, so one undo takes the whole import back.
    store::JournaledWrite journal(db, "imported results from a lab file");
    ResultWriter writer(db, &journal);
    ImportOutcome out = run(db, in, settings, &writer, observer, progress);
    out.written = !out.stopped && (skipRefused || out.counts.refused == 0);
    if (out.written) {
        writer.Finish();
        journal.Commit();
    }  // else rolled back as the journal goes
    return out;
}

}  // namespace import
