#include "CsvExport.h"

#include <filesystem>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "App.h"
#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "OutputFiles.h"

namespace exporter {

namespace {

enum FileIndex { SampleFile, ResultFile, NonNumericFile, ReplicateFile };

// Quotes the field that starts at `start` of `out` when it needs it.
void quoteFrom(std::string& out, size_t start) {
    if (!platform::CsvNeedsQuotes(std::string_view(out).substr(start))) return;
    const std::string value = out.substr(start);
    out.resize(start);
    out += platform::CsvField(value);
}

// The current row as one line of file `file`.
void writeLine(const store::ExportStream& rows, OutputFiles& files, FileIndex file) {
    std::string& out = files.Text(file);
    for (size_t i = 0; i < rows.FieldCount(); ++i) {
        if (i) out += ',';
        const size_t start = out.size();
        rows.AppendField(i, out);
        quoteFrom(out, start);
    }
    out += "\r\n";
    files.Written(file);
}

void writeHeader(OutputFiles& files, FileIndex file) {
    std::string& out = files.Text(file);
    const auto& columns = *store::ExportColumns()[file];
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i) out += ',';
        out += columns[i];
    }
    out += "\r\n";
}

std::string counted(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The rows of sample `code` to file `file`, leaving `rows` on the next sample's; returns how
// many.
long long writeRows(store::ExportStream& rows, std::string_view code, OutputFiles& files,
                    FileIndex file) {
    long long count = 0;
    for (; rows.AtSample(code); rows.Next(), ++count) writeLine(rows, files, file);
    return count;
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

ExportTargets DefaultTargets(const std::string& in) {
    const std::string folder = in + separator();
    return {folder + "ExpSample.csv", folder + "expresult.csv", folder + "Expresultsnon.csv",
            folder + "expreplicates.csv"};
}

ExportTargets DefaultTargets() { return DefaultTargets(platform::AppPath()); }

std::string ExportSummary(const ExportCounts& counts, const ExportTargets& targets) {
    namespace fs = std::filesystem;
    const std::pair<std::string, const std::string*> lines[] = {
        {counted(counts.samples, "sample", "samples"), &targets.sample},
        {counted(counts.results, "result", "results"), &targets.result},
        {counted(counts.nonNumeric, "non-numeric result", "non-numeric results"),
         &targets.nonNumeric},
        {counted(counts.replicates, "replicate", "replicates"), &targets.replicate}};
    const fs::path folder = fs::path(targets.sample).parent_path();
    bool oneFolder = true;
    for (const auto& line : lines) oneFolder &= fs::path(*line.second).parent_path() == folder;
    std::string text = "Data Exported";
    for (const auto& [what, file] : lines)
        text += "\n" + what + " to " + (oneFolder ? fs::path(*file).filename().string() : *file);
    if (oneFolder) text += "\nin the folder " + folder.string();
    return text;
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
        if (targets.header)
            for (FileIndex f : {SampleFile, ResultFile, NonNumericFile, ReplicateFile})
                writeHeader(files, f);
        std::unique_ptr<platform::ProgressReporter> progress;
        store::ExportRows rows(db);
        if (progressFor) progress = progressFor(rows.CountSamples(range));

        store::ExportStream& samples = rows.Samples(range);
        store::ExportStream& results = rows.Results();
        store::ExportStream& nonNumeric = rows.NonNumeric();
        store::ExportStream& replicates = rows.Replicates();
        while (samples.Next()) {
            writeLine(samples, files, SampleFile);
            const std::string code = rows.SampleCode();
            counts.results += writeRows(results, code, files, ResultFile);
            counts.nonNumeric += writeRows(nonNumeric, code, files, NonNumericFile);
            counts.replicates += writeRows(replicates, code, files, ReplicateFile);
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
