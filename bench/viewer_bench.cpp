// The sample viewer on a large database and its copy to the clipboard, each against a bare
// baseline timed in the same run.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "App.h"
#include "CpuClock.h"
#include "ProcessMemory.h"
#include "SqliteBaseline.h"
#include "Viewers.h"
#include "WorkingDatabase.h"
#include "frmDataLoader.h"

namespace {

using Clock = std::chrono::steady_clock;

// What the kernel counts against us, the figure a user sees in a task manager.
double residentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Heap in use, large blocks included; unlike the resident size it neither hides memory
// freed earlier and reused nor counts memory freed but kept by the allocator.
double heapBytes() {
    const auto m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
}

// The viewer's query with every source: it binds no value.
std::string allSamplesSql() {
    store::SampleViewFilter filter;
    filter.allSources = true;
    return store::Viewers::SamplesQuery(filter).sql;
}

// A grid filled with every sample is the header, the blank row, then one row per sample.
bool holdsEveryRow(const loader::frmDataLoader& f, long long rows) {
    return f.MSFlexGrid3.Rows() == rows + 2 &&
           f.MSFlexGrid3.Cols() >= static_cast<int>(store::Viewers::kSampleHeaders.size());
}

// "Find Samples" with "All Records": the query read and put into the grid. The baseline
// steps the same query on bare SQLite in each iteration; the aim is a ratio (of CPU times)
// of at most 1.25. grid_MB: the resident growth of the first fill, as the user would see it;
// cells_MB: the heap the grid gives back when cut back to its header, at most 3 times
// text_MB, the characters of its cells (memory_ratio).
void BM_Viewer_FindAllSamples(benchmark::State& state) {
    bench::WorkingDatabase work(bench::SizeOf(state));
    const std::string sqliteSql = allSamplesSql();
    // Read once first, so neither side pays for the file coming off disk.
    const long long rows = bench::StepAll(work.db().handle(), sqliteSql.c_str());

    loader::frmDataLoader f;
    f.Form_Load();
    f.Check7.SetValue(1);
    const double residentBefore = residentBytes();
    double residentGrowth = -1;
    double windowMs = 0, sqliteMs = 0;
    for (auto _ : state) {
        const double start = bench::CpuMs();
        f.cmdSamples_Click();
        windowMs += bench::CpuMs() - start;

        state.PauseTiming();
        if (residentGrowth < 0) residentGrowth = residentBytes() - residentBefore;
        if (!holdsEveryRow(f, rows)) {
            state.SkipWithError(("the grid holds " + std::to_string(f.MSFlexGrid3.Rows()) +
                                 " rows, not the " + std::to_string(rows) + " samples and two")
                                    .c_str());
            return;
        }
        work.dialogs().clear();
        const double baseline = bench::CpuMs();
        bench::StepAll(work.db().handle(), sqliteSql.c_str());
        sqliteMs += bench::CpuMs() - baseline;
        state.ResumeTiming();
    }
    // The grid's own share: what cutting it back to its header gives back.
    const double heapFilled = heapBytes();
    const double separators =
        static_cast<double>(f.MSFlexGrid3.Rows()) * static_cast<double>(f.MSFlexGrid3.Cols() + 1);
    const double textBytes = static_cast<double>(f.MSFlexGrid3.ClipText().size()) - separators;
    f.MSFlexGrid3.SetRows(2);
    const double cellsBytes = heapFilled - heapBytes();
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["sqlite_ms"] = sqliteMs / n;
    state.counters["ratio"] = windowMs / sqliteMs;
    state.counters["grid_MB"] = residentGrowth / bench::kMB;
    state.counters["cells_MB"] = cellsBytes / bench::kMB;
    state.counters["text_MB"] = textBytes / bench::kMB;
    state.counters["memory_ratio"] = cellsBytes / textBytes;
}
// A fixed count, so the first fill's memory growth is not hidden by an earlier trial run's
// freed memory.
BENCHMARK(BM_Viewer_FindAllSamples)
    ->Apply(bench::TableSizes)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The baseline text: the same cells, each followed by a tab and each row by a line feed,
// concatenated from plain strings.
std::string joinCells(const std::vector<std::string>& cells, int cols) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) {
        text += cells[i];
        text += '\t';
        if ((i + 1) % static_cast<size_t>(cols) == 0) text += '\n';
    }
    return text;
}

// "Copy" on the filled sample grid: the grid's text put on the clipboard; the aim is under
// a second. Baselines in each iteration: the same text joined from a vector of strings, and
// the grid's text alone without the clipboard.
void BM_Viewer_CopySamples(benchmark::State& state) {
    bench::WorkingDatabase work({});
    const long long rows = bench::StepAll(work.db().handle(), allSamplesSql().c_str());
    loader::frmDataLoader f;
    f.Form_Load();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    const auto& grid = f.MSFlexGrid3;
    if (!holdsEveryRow(f, rows)) {
        state.SkipWithError("the grid does not hold every sample");
        return;
    }
    const int cols = grid.Cols();
    std::vector<std::string> cells;
    cells.reserve(static_cast<size_t>(grid.Rows()) * static_cast<size_t>(cols));
    for (long long r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < cols; ++c) cells.push_back(grid.TextMatrix(r, c));
    const std::string expected = joinCells(cells, cols);

    f.mnucopy3_Click();
    if (controls::Clipboard::GetText() != expected) {
        state.SkipWithError("the clipboard does not hold the grid's cells");
        return;
    }

    double copyMs = 0, joinMs = 0, clipTextMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        f.mnucopy3_Click();
        copyMs += bench::MillisecondsSince(start);

        state.PauseTiming();
        auto baseline = Clock::now();
        benchmark::DoNotOptimize(joinCells(cells, cols));
        joinMs += bench::MillisecondsSince(baseline);
        baseline = Clock::now();
        benchmark::DoNotOptimize(grid.ClipText());
        clipTextMs += bench::MillisecondsSince(baseline);
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["text_MB"] = static_cast<double>(expected.size()) / bench::kMB;
    state.counters["join_ms"] = joinMs / n;
    state.counters["cliptext_ms"] = clipTextMs / n;
    state.counters["ratio"] = copyMs / joinMs;
}
BENCHMARK(BM_Viewer_CopySamples)->Unit(benchmark::kMillisecond);

// "Load Results" with the first `range(0)` listed samples selected: their results read into
// the result grid. Baseline in each iteration: one read transaction and one statement
// prepared once on bare SQLite, bound and stepped per sample, every column read as text.
// The aim is a ratio (of CPU times) of at most 1.3.
void BM_Viewer_HandOverResults(benchmark::State& state) {
    const long long selected = state.range(0);
    bench::WorkingDatabase work({});
    loader::frmDataLoader f;
    f.Form_Load();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    work.dialogs().clear();
    auto& grid = f.MSFlexGrid3;
    if (grid.Rows() < selected + 2) {
        state.SkipWithError("fewer samples listed than are to be selected");
        return;
    }
    std::vector<std::pair<std::string, long long>> samples;
    for (long long r = 2; r < selected + 2; ++r)
        samples.emplace_back(grid.TextMatrix(r, 11), std::stoll(grid.TextMatrix(r, 0)));
    sqlite3* db = work.db().handle();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "select tblresults.*, tblsample.project_code, tblsample.start_date from "
                       "tblsample left join tblresults on tblresults.idloc = tblsample.idloc and "
                       "tblresults.sample_code = tblsample.sample_code where tblsample.idloc = ?1 "
                       "and tblsample.sample_code = ?2",
                       -1, &stmt, nullptr);
    auto baseline = [&] {
        long long rows = 0;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const auto& [source, code] : samples) {
            sqlite3_bind_text(stmt, 1, source.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int64(stmt, 2, code);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c)
                    benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
                ++rows;
            }
            sqlite3_reset(stmt);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        return rows;
    };
    baseline();  // once first, so neither side pays for the file coming off disk
    double oursMs = 0, sqliteMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.MSFlexGrid4.SetRows(2);
        grid.SetRow(2);
        grid.SetCol(0);
        grid.SetRowSel(selected + 1);
        grid.SetColSel(11);
        state.ResumeTiming();
        const double start = bench::CpuMs();
        f.cmdSampletoResults_Click();
        oursMs += bench::CpuMs() - start;

        state.PauseTiming();
        const double base = bench::CpuMs();
        const long long rows = baseline();
        sqliteMs += bench::CpuMs() - base;
        // The baseline also lists the samples without results, as one row each.
        if (f.MSFlexGrid4.Rows() < 2 + rows / 2 || !work.dialogs().texts().empty()) {
            state.SkipWithError("the results were not handed over");
            break;
        }
        state.ResumeTiming();
    }
    sqlite3_finalize(stmt);
    state.counters["samples"] = static_cast<double>(selected);
    state.counters["results"] = static_cast<double>(f.MSFlexGrid4.Rows() - 2);
    state.counters["sqlite_ms"] = sqliteMs / static_cast<double>(state.iterations());
    state.counters["ratio"] = oursMs / sqliteMs;
}
BENCHMARK(BM_Viewer_HandOverResults)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
