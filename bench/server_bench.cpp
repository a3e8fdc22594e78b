// The program on a PostgreSQL server against the server's own tools, timed in the same run:
// the export against psql's \copy of the same rows, "Find Samples" against a bare libpq
// fetch of the same query. The server is DATALOADER_BENCH_PG (a URI) when set, else a
// throwaway one this run starts and removes (scripts/pg-test-server.sh).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "Connection.h"
#include "CpuClock.h"
#include "CsvExport.h"
#include "Database.h"
#include "DatabaseCopy.h"
#include "Dialogs.h"
#include "LargeDatabase.h"
#include "ProcessMemory.h"
#include "SqlHooks.h"
#include "Viewers.h"
#include "frmDataLoader.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class BenchServer {
  public:
    static BenchServer& get() {
        static BenchServer server;
        return server;
    }
    // A copy of the cached file database in a schema of its own, made once per run.
    std::string copyOf(const bench::LargeDatabaseSize& size) {
        const std::string file = bench::CachedLargeDatabase(size);
        auto& location = copies_[file];
        if (location.empty()) {
            const std::string schema = "bench" + std::to_string(copies_.size());
            platform::Database::OpenDatabase(base_)->ExecuteNative(
                "DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
            location = base_ + (base_.find('?') == std::string::npos ? "?" : "&") +
                       "options=-csearch_path%3D" + schema;
            std::ostringstream progress;
            store::CopyDatabase(file, location, progress);
        }
        return location;
    }
    ~BenchServer() {
        if (!dir_.empty()) run("stop");
    }

  private:
    BenchServer() {
        if (const char* given = std::getenv("DATALOADER_BENCH_PG"); given && *given) {
            base_ = given;
            return;
        }
        dir_ = "/tmp/dataloader-bench-pg-" + std::to_string(getpid());
        if (!run("start")) std::abort();
        base_ = "postgresql:///postgres?host=" + dir_ + "&user=dataloader";
    }
    bool run(const char* action) {
        const std::string command =
            std::string("bash " DATALOADER_SOURCE_DIR "/scripts/pg-test-server.sh ") + action +
            " " + dir_ + " >/dev/null";
        return std::system(command.c_str()) == 0;
    }
    std::string base_, dir_;
    std::map<std::string, std::string> copies_;
};

long long newlines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    long long n = 0;
    for (char c; in.get(c);) n += c == '\n';
    return n;
}

// The export's four sets of rows, as psql writes them with \copy.
std::string copyScript(const fs::path& folder) {
    const std::string join =
        " s join %s r on r.idloc = s.idloc and r.sample_code = s.sample_code where s.idloc = "
        "'V') to '";
    auto copy = [&](const std::string& select, const char* name) {
        return "\\copy (" + select + (folder / name).string() + "' csv\n";
    };
    auto joined = [&](const char* columns, const char* table) {
        std::string from = join;
        from.replace(from.find("%s"), 2, table);
        return std::string("select ") + columns + " from tblsample" + from;
    };
    const char* common =
        "r.idloc, r.sample_code, r.parameter_code, r.result_value, r.remark_code, "
        "r.grade";
    return copy(
               "select idloc, sample_code, project_code, station_id, start_date, missing_time, "
               "end_date, medium, sample_type, composite_statistic_code, sample_depth, comment "
               "from tblsample where idloc = 'V') to '",
               "s.csv") +
           copy(joined((std::string(common) + ", r.comments").c_str(), "tblresults"), "r.csv") +
           copy(joined(common, "tblresults_val_nonnumeric"), "n.csv") +
           copy(joined(common, "tblreplicates"), "p.csv");
}

// "Export Data" with "All Records" from a server database of 20,000 hand-entered samples
// with about ten results each, beside psql writing the same rows with \copy. Aim: ratio at
// most 1.2. Also the growth of the peak resident size during the export.
void BM_Server_Export(benchmark::State& state) {
    bench::LargeDatabaseSize size;
    size.samples = 21000;
    size.handEnteredPercent = 96;
    size.maxHandEntered = 20000;
    const std::string location = BenchServer::get().copyOf(size);
    auto db = platform::Database::OpenDatabase(location);

    const fs::path folder =
        fs::temp_directory_path() / ("dataloader-bench-server-" + std::to_string(getpid()));
    const fs::path ours = folder / "ours", theirs = folder / "psql";
    fs::create_directories(ours);
    fs::create_directories(theirs);
    const exporter::ExportTargets targets{(ours / "s.csv").string(), (ours / "r.csv").string(),
                                          (ours / "n.csv").string(), (ours / "p.csv").string()};
    std::ofstream(folder / "copy.sql") << copyScript(theirs);
    const std::string baseline =
        "psql -q -X '" + location + "' -f '" + (folder / "copy.sql").string() + "' > /dev/null";
    auto runBaseline = [&] {
        if (std::system(baseline.c_str()) != 0) state.SkipWithError("psql failed");
    };
    runBaseline();

    double exportMs = 0, psqlMs = 0, peakGrowth = 0;
    for (auto _ : state) {
        const double resident = bench::StatusBytes("VmRSS");
        bench::ResetPeak();
        const auto start = Clock::now();
        exporter::ExportData(*db, exporter::ExportRange{true}, targets);
        exportMs += bench::MillisecondsSince(start);
        peakGrowth = std::max(peakGrowth, bench::StatusBytes("VmHWM") - resident);
        state.PauseTiming();
        const auto baselineStart = Clock::now();
        runBaseline();
        psqlMs += bench::MillisecondsSince(baselineStart);
        state.ResumeTiming();
    }
    double written = 0;
    for (const char* name : {"s.csv", "r.csv", "n.csv", "p.csv"}) {
        if (newlines(ours / name) != newlines(theirs / name))
            state.SkipWithError((std::string("the line counts of ") + name + " differ").c_str());
        written += static_cast<double>(fs::file_size(ours / name));
    }
    fs::remove_all(folder);
    const double n = static_cast<double>(state.iterations());
    state.counters["export_ms"] = exportMs / n;
    state.counters["psql_ms"] = psqlMs / n;
    state.counters["ratio"] = exportMs / psqlMs;
    // The rows are read in batches: the peak stays flat however many the export writes.
    state.counters["written_MB"] = written / 1e6;
    state.counters["peak_growth_MB"] = peakGrowth / 1e6;
}
BENCHMARK(BM_Server_Export)->Iterations(3)->Unit(benchmark::kMillisecond);

// The query on bare libpq, with its parameters as the program numbers them, and every field
// of every row read as text. Returns the row count.
long long fetchAll(PGconn* conn, const std::string& sql) {
    const std::string numbered = platform::NumberParameters(sql);
    PGresult* r = PQexecParams(conn, numbered.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
    const int rows = PQntuples(r), cols = PQnfields(r);
    long long bytes = 0;
    for (int i = 0; i < rows; ++i)
        for (int c = 0; c < cols; ++c) bytes += PQgetlength(r, i, c) + (PQgetvalue(r, i, c)[0]);
    benchmark::DoNotOptimize(bytes);
    PQclear(r);
    return rows;
}

// "Find Samples" with "All Records" on 100,000 samples of a server database, into the grid,
// beside the same query fetched on bare libpq. Aim: ratio at most 1.5.
void BM_Server_FindAllSamples(benchmark::State& state) {
    const std::string location = BenchServer::get().copyOf({});
    store::setDb(platform::Database::OpenDatabase(location));
    controls::SetDialogService(std::make_shared<controls::ScriptedDialogs>());
    PGconn* bare = PQconnectdb(location.c_str());
    store::SampleViewFilter filter;
    filter.allSources = true;
    const std::string sql = store::Viewers::SamplesQuery(filter).sql;
    const long long rows = fetchAll(bare, sql);

    loader::frmDataLoader f;
    f.Form_Load();
    f.Check7.SetValue(1);
    double windowMs = 0, libpqMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        f.cmdSamples_Click();
        windowMs += bench::MillisecondsSince(start);
        state.PauseTiming();
        if (f.MSFlexGrid3.Rows() != rows + 2) state.SkipWithError("the grid lacks rows");
        const auto baseline = Clock::now();
        fetchAll(bare, sql);
        libpqMs += bench::MillisecondsSince(baseline);
        state.ResumeTiming();
    }
    PQfinish(bare);
    store::setDb(nullptr);
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["libpq_ms"] = libpqMs / n;
    state.counters["ratio"] = windowMs / libpqMs;
}
BENCHMARK(BM_Server_FindAllSamples)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
