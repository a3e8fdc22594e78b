#include "CsvExport.h"

#include <filesystem>
#include <new>
#include <vector>

#include "App.h"
#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "OutputFiles.h"
#include "Recordset.h"
#include "RowStream.h"

namespace exporter {

using platform::RowStream;

namespace {

// The columns of each file, in the order they are written.
const std::vector<std::string_view> kSampleColumns = {
    "idloc",        "sample_code", "project_code", "station_id",  "start_date",
    "missing_time", "end_date",    "medium",       "sample_type", "composite_statistic_code",
    "sample_depth", "comment"};
const std::vector<std::string_view> kResultColumns = {
    "idloc", "sample_code", "parameter_code", "result_value", "remark_code", "grade", "comments"};
const std::vector<std::string_view> kOtherResultColumns = {
    "idloc", "sample_code", "parameter_code", "result_value", "remark_code", "grade"};
constexpr size_t kSampleCode = 1;  // in kSampleColumns

enum FileIndex { SampleFile, ResultFile, NonNumericFile, ReplicateFile };

bool needsQuotes(std::string_view text) {
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

// Quotes the field that starts at `start` of `out` when it needs it.
void quoteFrom(std::string& out, size_t start) {
    if (!needsQuotes(std::string_view(out).substr(start))) return;
    const std::string value = out.substr(start);
    out.resize(start);
    out += CsvField(value);
}

// The current row's fields as one CSV line.
void appendLine(const RowStream& rows, const std::vector<int>& fields, std::string& out) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        const size_t start = out.size();
        rows.AppendText(fields[i], out);
        quoteFrom(out, start);
    }
    out += "\r\n";
}

// Every row of `source` to file `file`; returns how many.
long long writeRows(RowStream& rows, const std::string& source,
                    const std::vector<std::string_view>& columns, OutputFiles& files,
                    FileIndex file) {
    long long count = 0;
    rows.Open(source);
    while (rows.Next()) {
        appendLine(rows, rows.FieldIndexes(columns), files.Text(file));
        files.Written(file);
        ++count;
    }
    return count;
}

long long countSamples(platform::Database& db, const ExportRange& range) {
    std::string sql = SampleSql(range);
    sql.replace(0, std::string_view("select *").size(), "select count(*)");
    auto rs = db.OpenRecordset(sql);
    const long long n = rs->Eof() ? 0 : rs->Value(0).toInteger();
    rs->Close();
    return n;
}

std::string separator() { return std::string(1, std::filesystem::path::preferred_separator); }

// The database, the engine's files beside it and the file naming the database: an export
// must never replace them.
std::vector<std::string> programFiles(const platform::Database& db) {
    std::vector<std::string> files = {store::DataLocationFile()};
    if (const std::string& name = db.Name(); !name.empty())
        files.insert(files.end(), {name, name + "-journal", name + "-wal", name + "-shm"});
    return files;
}

}  // namespace

ExportTargets DefaultTargets() {
    const std::string folder = platform::AppPath() + separator();
    return {folder + "ExpSample.csv", folder + "expresult.csv", folder + "Expresultsnon.csv",
            folder + "expreplicates.csv"};
}

std::string SampleSql(const ExportRange& range) {
    if (range.all) return "select * from tblsample where idloc ='V'";
    return "select * from tblsample where idloc = 'V' and start_date > #" +
           platform::DateToText(range.from) + "#";
}

std::string ResultsSql(std::string_view sampleCode) {
    return "select * from  tblresults where idloc = 'V' and sample_code = " +
           std::string(sampleCode);
}

std::string NonNumericSql(std::string_view sampleCode) {
    return "select * from  tblresults_val_nonnumeric where idloc = 'V' and sample_code = " +
           std::string(sampleCode);
}

std::string ReplicatesSql(std::string_view sampleCode) {
    return "select * from  tblreplicates where idloc = 'V' and sample_code = " +
           std::string(sampleCode);
}

std::string CsvField(std::string_view text) {
    if (!needsQuotes(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

ExportCounts ExportData(platform::Database& db, const ExportRange& range,
                        const ExportTargets& targets, const ProgressFactory& progressFor) {
    ExportCounts counts;
    try {
        // Declared first, so the reads are closed before the temporary files go.
        OutputFiles files({{"sample file", targets.sample},
                           {"results file", targets.result},
                           {"non-numeric results file", targets.nonNumeric},
                           {"replicates file", targets.replicate}},
                          programFiles(db));
        std::unique_ptr<platform::ProgressReporter> progress;
        if (progressFor) progress = progressFor(countSamples(db, range));

        RowStream samples(db), results(db), nonNumeric(db), replicates(db);
        std::string code;
        samples.Open(SampleSql(range));
        while (samples.Next()) {
            const std::vector<int>& fields = samples.FieldIndexes(kSampleColumns);
            appendLine(samples, fields, files.Text(SampleFile));
            files.Written(SampleFile);
            code.clear();
            samples.AppendText(fields[kSampleCode], code);
            counts.results +=
                writeRows(results, ResultsSql(code), kResultColumns, files, ResultFile);
            counts.nonNumeric += writeRows(nonNumeric, NonNumericSql(code), kOtherResultColumns,
                                           files, NonNumericFile);
            counts.replicates += writeRows(replicates, ReplicatesSql(code), kOtherResultColumns,
                                           files, ReplicateFile);
            ++counts.samples;
            if (progress && !progress->Step(counts.samples))
                throw ExportError("The export was cancelled. No file was changed.", true);
        }
        progress.reset();
        files.Commit();
    } catch (const platform::EngineError& e) {
        throw ExportError("The data could not be read: " + e.Description());
    } catch (const std::bad_alloc&) {
        throw ExportError("There is not enough memory for the export.");
    } catch (const std::filesystem::filesystem_error& e) {
        throw ExportError(std::string("The files could not be written: ") + e.what());
    }
    return counts;
}

}  // namespace exporter
