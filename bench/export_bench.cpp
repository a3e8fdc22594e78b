// The export of every hand-entered sample against the sqlite3 command-line tool writing the
// same rows as CSV from the same database, both timed in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CpuClock.h"
#include "CsvExport.h"
#include "Database.h"
#include "LargeDatabase.h"
#include "ProcessMemory.h"

namespace {

namespace fs = std::filesystem;

long long lineCount(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    long long n = 0;
    for (size_t i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i + 2)) ++n;
    return n;
}

// The same four sets of rows, the results joined to their samples as the export looks
// them up sample by sample.
std::string baselineScript(const fs::path& folder) {
    auto out = [&](const char* name) { return ".once '" + (folder / name).string() + "'\n"; };
    const std::string join =
        " s join %s r on r.idloc = s.idloc and r.sample_code = s.sample_code where s.idloc = 'V';";
    auto joined = [&](const char* columns, const char* table) {
        std::string from = join;
        from.replace(from.find("%s"), 2, table);
        return std::string("select ") + columns + " from tblsample" + from + "\n";
    };
    // ".mode csv" ends lines with CR LF as the export does; "-csv" alone gives LF.
    return ".mode csv\n" + out("s.csv") +
           "select idloc, sample_code, project_code, station_id, start_date, missing_time, "
           "end_date, medium, sample_type, composite_statistic_code, sample_depth, comment from "
           "tblsample where idloc = 'V';\n" +
           out("r.csv") +
           joined(
               "r.idloc, r.sample_code, r.parameter_code, r.result_value, r.remark_code, "
               "r.grade, r.comments",
               "tblresults") +
           out("n.csv") +
           joined(
               "r.idloc, r.sample_code, r.parameter_code, r.result_value, r.remark_code, r.grade",
               "tblresults_val_nonnumeric") +
           out("p.csv") +
           joined(
               "r.idloc, r.sample_code, r.parameter_code, r.result_value, r.remark_code, r.grade",
               "tblreplicates");
}

// "Export Data" with "All Records" over a database of `samples` hand-entered samples with
// about ten results each (codes beyond 32767, written by another program), the files going
// to the temporary folder. In each iteration the sqlite3 tool writes the same rows with
// `-csv` from the same file. Aims: ratio (of CPU times, the tool's as a child process) at
// most 0.9; peak_MB, the growth of the peak
// resident size during the first export, the same for either size.
void BM_Export_AllRecords(benchmark::State& state) {
    const int samples = static_cast<int>(state.range(0));
    bench::LargeDatabaseSize size;
    size.samples = samples + samples / 20;  // a few of other sources among them
    size.handEnteredPercent = 96;
    size.maxHandEntered = samples;
    const std::string file = bench::CachedLargeDatabase(size);
    auto db = platform::Database::OpenDatabase(file);

    const fs::path folder =
        fs::temp_directory_path() / ("dataloader-bench-export-" + std::to_string(getpid()));
    const fs::path ours = folder / "ours", theirs = folder / "sqlite";
    fs::create_directories(ours);
    fs::create_directories(theirs);
    const exporter::ExportTargets targets{(ours / "s.csv").string(), (ours / "r.csv").string(),
                                          (ours / "n.csv").string(), (ours / "p.csv").string()};
    const fs::path script = folder / "baseline.sql";
    std::ofstream(script) << baselineScript(theirs);
    const std::string baseline =
        "sqlite3 -csv '" + file + "' < '" + script.string() + "' > /dev/null";
    auto runBaseline = [&] {
        if (std::system(baseline.c_str()) != 0) state.SkipWithError("sqlite3 failed");
    };
    // Once each first, so neither pays for the file coming off disk.
    runBaseline();

    double exportMs = 0, sqliteMs = 0, peakGrowth = -1;
    exporter::ExportCounts counts;
    for (auto _ : state) {
        const double before = bench::StatusBytes("VmRSS");
        bench::ResetPeak();
        const double start = bench::CpuMs();
        counts = exporter::ExportData(*db, exporter::ExportRange{true}, targets);
        exportMs += bench::CpuMs() - start;

        state.PauseTiming();
        if (peakGrowth < 0) peakGrowth = bench::StatusBytes("VmHWM") - before;
        const double baselineStart = bench::ChildrenCpuMs();
        runBaseline();
        sqliteMs += bench::ChildrenCpuMs() - baselineStart;
        state.ResumeTiming();
    }
    for (const char* name : {"s.csv", "r.csv", "n.csv", "p.csv"}) {
        if (lineCount(ours / name) != lineCount(theirs / name))
            state.SkipWithError((std::string("the line counts of ") + name + " differ").c_str());
    }
    fs::remove_all(folder);

    const double n = static_cast<double>(state.iterations());
    state.counters["samples"] = static_cast<double>(counts.samples);
    state.counters["results"] = static_cast<double>(counts.results);
    state.counters["nonnumeric"] = static_cast<double>(counts.nonNumeric);
    state.counters["replicates"] = static_cast<double>(counts.replicates);
    state.counters["export_ms"] = exportMs / n;
    state.counters["sqlite_ms"] = sqliteMs / n;
    state.counters["ratio"] = exportMs / sqliteMs;
    state.counters["peak_MB"] = peakGrowth / bench::kMB;
}
void ExportSizes(benchmark::internal::Benchmark* b) {
    b->Arg(20000)->Arg(100000);
    if (std::getenv("DATALOADER_BENCH_1M")) b->Arg(1000000);
}
BENCHMARK(BM_Export_AllRecords)->Apply(ExportSizes)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
