// A lab file of result rows imported against the sqlite3 command-line tool's `.import` of
// the same file into a bare table, both timed in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CpuClock.h"
#include "Database.h"
#include "History.h"
#include "ProcessMemory.h"
#include "ResultImport.h"
#include "Schema.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kParameters = 50;

// Hand-entered samples enough for `rows` results of kParameters parameters each.
void makeDatabase(const std::string& path, long long rows) {
    auto db = store::CreateEmptyDatabase(path);
    std::string sql =
        "begin; insert into tblstation_information (station_id) values (1);"
        "insert into tblresults_remarks values ('<', 'below');";
    for (int p = 1; p <= kParameters; ++p)
        sql += "insert into TBLParameter_Codes values (" + std::to_string(p) + ", 'P" +
               std::to_string(p) + "', null);";
    for (long long s = 1; s <= rows / kParameters; ++s)
        sql += "insert into tblsample (idloc, sample_code, station_id, start_date) values ('V', " +
               std::to_string(s) + ", 1, '2010-01-01 00:00:00');";
    db->ExecuteNative(sql + "commit;");
}

void writeLabFile(const fs::path& file, long long rows) {
    std::ofstream out(file, std::ios::binary);
    out << "sample_code,parameter_code,result_value,remark_code,grade,comments\r\n";
    for (long long i = 0; i < rows; ++i)
        out << i / kParameters + 1 << ',' << i % kParameters + 1 << ',' << (i % 997) * 0.125 << ','
            << (i % 10 == 0 ? "<" : "") << ",A,\"run " << i % 7 << ", lab 2\"\r\n";
}

// A fresh database for the lab file's rows, and the file open with its header's map.
struct Prepared {
    Prepared(const fs::path& folder, const fs::path& lab, long long rows) {
        const std::string path = (folder / "ours.db").string();
        fs::remove(path);
        makeDatabase(path, rows);
        db = platform::Database::OpenDatabase(path);
        in.open(lab, std::ios::binary);
        settings.map = import::MapOfHeader(in);
        in.seekg(0);
    }
    auto Run() { return import::ImportResults(*db, in, settings, false, nullptr, nullptr); }

    std::shared_ptr<platform::Database> db;
    std::ifstream in;
    ::import::ImportSettings settings;
};

// 100,000 numeric results into samples that have none yet. Aims: ratio at most 2; peak_MB,
// the growth of the peak resident size during the first import, small beside the file.
void BM_Import_LabFile(benchmark::State& state) {
    const long long rows = state.range(0);
    const fs::path folder =
        fs::temp_directory_path() / ("dataloader-bench-import-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path lab = folder / "lab.csv", script = folder / "import.sql";
    writeLabFile(lab, rows);
    std::ofstream(script) << "create table t (sample_code, parameter_code, result_value, "
                             "remark_code, grade, comments);\n.mode csv\n.import --skip 1 '"
                          << lab.string() << "' t\n";

    double importMs = 0, sqliteMs = 0, importCpu = 0, sqliteCpu = 0, peakGrowth = -1;
    import::ImportOutcome done;
    for (auto _ : state) {
        state.PauseTiming();
        Prepared ready(folder, lab, rows);
        const double before = bench::StatusBytes("VmRSS");
        bench::ResetPeak();
        state.ResumeTiming();

        const auto start = Clock::now();
        const double cpuStart = bench::CpuMs();
        done = ready.Run();
        importCpu += bench::CpuMs() - cpuStart;
        importMs += bench::MillisecondsSince(start);

        state.PauseTiming();
        if (peakGrowth < 0) peakGrowth = bench::StatusBytes("VmHWM") - before;
        fs::remove(folder / "theirs.db");
        const std::string baseline =
            "sqlite3 '" + (folder / "theirs.db").string() + "' < '" + script.string() + "'";
        const auto baselineStart = Clock::now();
        const double childStart = bench::ChildrenCpuMs();
        if (std::system(baseline.c_str()) != 0) state.SkipWithError("sqlite3 failed");
        sqliteCpu += bench::ChildrenCpuMs() - childStart;
        sqliteMs += bench::MillisecondsSince(baselineStart);
        state.ResumeTiming();
    }
    if (!done.written || done.counts.stored[0] != rows) state.SkipWithError("rows were refused");
    fs::remove_all(folder);

    const double n = static_cast<double>(state.iterations());
    state.counters["import_ms"] = importMs / n;
    state.counters["sqlite_ms"] = sqliteMs / n;
    state.counters["ratio"] = importMs / sqliteMs;
    // The same on CPU time, which a busy machine disturbs less.
    state.counters["cpu_ratio"] = importCpu / sqliteCpu;
    state.counters["peak_MB"] = peakGrowth / bench::kMB;
}
BENCHMARK(BM_Import_LabFile)->Arg(20000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

// The undo of such an import: every result read back from the journal and deleted.
void BM_Import_Undo(benchmark::State& state) {
    const long long rows = state.range(0);
    const fs::path folder =
        fs::temp_directory_path() / ("dataloader-bench-undo-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path lab = folder / "lab.csv";
    writeLabFile(lab, rows);
    for (auto _ : state) {
        state.PauseTiming();
        Prepared ready(folder, lab, rows);
        ready.Run();
        state.ResumeTiming();
        store::History(*ready.db).Undo();
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_Import_Undo)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
