// The engine against bare SQLite on the same rows, in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "Database.h"
#include "LargeDatabase.h"
#include "RowStream.h"
#include "SqliteBaseline.h"

namespace {

const char* kAllSamples = "select * from tblsample where idloc = 'V'";
const char* kAllSamplesBound = "select * from tblsample where idloc = ?";

// 100,000 samples of which 15,000 hand-entered, 1,000,000 results.
const std::string& largeDatabase() {
    static const std::string path = bench::CachedLargeDatabase({});
    return path;
}

// Baseline: prepare once and step through every row, reading every column as text.
void BM_Sqlite_StepAllSamples(benchmark::State& state) {
    auto db = platform::Database::OpenDatabase(largeDatabase());
    for (auto _ : state) {
        const long long rows = bench::StepAll(db->handle(), kAllSamples);
        state.counters["rows"] = static_cast<double>(rows);
    }
}
BENCHMARK(BM_Sqlite_StepAllSamples)->Unit(benchmark::kMillisecond);

// Ours: a stream read to its end, every field converted to its display text.
void BM_RowStream_ReadAllSamples(benchmark::State& state) {
    auto db = platform::Database::OpenDatabase(largeDatabase());
    for (auto _ : state) {
        platform::RowStream rows(*db);
        rows.OpenLong(kAllSamplesBound, {"V"});
        long long count = 0;
        while (rows.Next()) {
            for (int f = 0; f < rows.ColumnCount(); ++f)
                benchmark::DoNotOptimize(rows.Value(f).toText());
            ++count;
        }
        state.counters["rows"] = static_cast<double>(count);
    }
}
BENCHMARK(BM_RowStream_ReadAllSamples)->Unit(benchmark::kMillisecond);

// The export's pattern: three queries per sample with only the code changed.
const char* kPerSample[] = {
    "select * from  tblresults where idloc = 'V' and sample_code = ",
    "select * from  tblresults_val_nonnumeric where idloc = 'V' and sample_code = ",
    "select * from  tblreplicates where idloc = 'V' and sample_code = ",
};
constexpr int kExportSamples = 2000;

// Baseline: bare SQLite preparing each text anew, as a naive engine would.
void BM_Sqlite_PrepareEachPerSampleQuery(benchmark::State& state) {
    auto db = platform::Database::OpenDatabase(largeDatabase());
    for (auto _ : state) {
        for (int code = 1; code <= kExportSamples; ++code) {
            for (const char* shape : kPerSample) {
                const std::string sql = shape + std::to_string(code);
                sqlite3_stmt* stmt = nullptr;
                sqlite3_prepare_v2(db->handle(), sql.c_str(), -1, &stmt, nullptr);
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    benchmark::DoNotOptimize(sqlite3_column_text(stmt, 3));
                sqlite3_finalize(stmt);
            }
        }
    }
}
BENCHMARK(BM_Sqlite_PrepareEachPerSampleQuery)->Unit(benchmark::kMillisecond);

// Ours: the same queries through RowStream, the code bound: each prepared once and reused.
void BM_RowStream_PerSampleQueries(benchmark::State& state) {
    const char* bound[] = {
        "select * from  tblresults where idloc = ? and sample_code = ?",
        "select * from  tblresults_val_nonnumeric where idloc = ? and sample_code = ?",
        "select * from  tblreplicates where idloc = ? and sample_code = ?",
    };
    auto db = platform::Database::OpenDatabase(largeDatabase());
    for (auto _ : state) {
        for (int code = 1; code <= kExportSamples; ++code) {
            for (const char* sql : bound) {
                platform::RowStream rows(*db, sql, {"V", code});
                while (rows.Next()) benchmark::DoNotOptimize(rows.Value("result_value").toText());
            }
        }
    }
}
BENCHMARK(BM_RowStream_PerSampleQueries)->Unit(benchmark::kMillisecond);

}  // namespace
