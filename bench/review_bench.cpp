// The review's checks over the large database, beside their queries alone on bare SQLite in
// the same run; and the summary of one station and parameter with 100,000 results.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "Database.h"
#include "RecordSummary.h"
#include "Review.h"
#include "Schema.h"
#include "SqliteBaseline.h"
#include "WorkingDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The checks' queries over the whole database, as the review writes them for an empty scope
// (pH is parameter 400 there).
const char* const kCheckQueries[] = {
    "select s.idloc, s.sample_code, s.station_id, s.start_date, r.parameter_code, "
    "r.result_value, r.remark_code, l.lower_limit, l.upper_limit from tblsample s join "
    "tblresults r on r.idloc = s.idloc and r.sample_code = s.sample_code join "
    "tblparameter_limits l on l.parameter_code = r.parameter_code where (r.result_value < "
    "l.lower_limit or r.result_value > l.upper_limit) order by s.station_id, s.start_date",

    // The record, read whole: the samples, then the results of parameters without limits
    // (10, 300 and 400 have them).
    "select s.idloc, s.sample_code, s.station_id, s.start_date, s.project_code from tblsample s "
    "where s.station_id is not null",

    "select r.idloc, r.sample_code, r.parameter_code, r.result_value, r.remark_code from "
    "tblresults r where 1 = 1 and r.result_value is not null and r.parameter_code not in (10, "
    "300, 400)",

    "select s.idloc, s.sample_code, s.station_id, s.start_date, p.parameter_code, "
    "p.result_value, p.remark_code, n.idloc, n.result_value, n.remark_code, t.idloc, "
    "t.result_value from tblsample s join tblreplicates p on p.idloc = s.idloc and "
    "p.sample_code = s.sample_code left join tblresults n on n.idloc = p.idloc and "
    "n.sample_code = p.sample_code and n.parameter_code = p.parameter_code left join "
    "tblresults_val_nonnumeric t on t.idloc = p.idloc and t.sample_code = p.sample_code and "
    "t.parameter_code = p.parameter_code where (n.idloc is not null or t.idloc is not null) "
    "order by s.station_id, s.start_date",

    "select s.idloc, s.sample_code, s.station_id, s.start_date, p.parameter_code, "
    "p.result_value, p.remark_code, w.parameter_code, w.result_value, w.remark_code, "
    "pr.tolerance_percent from tblparameter_pairs pr join tblresults p on p.parameter_code = "
    "pr.part_code join tblresults w on w.idloc = p.idloc and w.sample_code = p.sample_code and "
    "w.parameter_code = pr.whole_code join tblsample s on s.idloc = p.idloc and s.sample_code = "
    "p.sample_code where p.parameter_code in (select part_code from tblparameter_pairs) and "
    "p.result_value > w.result_value + abs(w.result_value) * "
    "coalesce(pr.tolerance_percent, 0) / 100 order by s.station_id, s.start_date",

    "select s.idloc, s.sample_code, s.station_id, s.start_date, r.parameter_code, "
    "r.result_value from tblsample s join tblresults r on r.idloc = s.idloc and r.sample_code = "
    "s.sample_code left join tblparameter_limits l on l.parameter_code = r.parameter_code where "
    "(r.result_value < 0 or (r.parameter_code in (400) and r.result_value > 14)) and "
    "((r.parameter_code in (400) and (r.result_value < 0 or r.result_value > 14)) or "
    "(r.result_value < 0 and l.lower_limit >= 0)) order by s.station_id, s.start_date",

    "select s.idloc, s.sample_code, s.station_id, s.start_date, s.project_code, "
    "coalesce(s.medium, ''), coalesce(s.sample_type, '') from tblsample s where s.start_date is "
    "not null and s.station_id is not null order by s.station_id, s.start_date, "
    "coalesce(s.medium, ''), coalesce(s.sample_type, ''), s.idloc, s.sample_code",
};

// Every check over the whole database, a million results at 100,000 samples; the aim is at
// most 3 s and twice the bare queries. Two pairs of parameters give the part-and-whole
// check rows to join.
void BM_Review_AllChecks(benchmark::State& state) {
    bench::WorkingDatabase work(bench::SizeOf(state));
    work.db().ExecuteNative(store::ParameterPairsDdl());
    work.db().ExecuteNative("insert into tblparameter_pairs values (671, 665, 10), (630, 625, 0)");
    const long long results = work.count("select count(*) from tblresults");
    double reviewMs = 0, sqliteMs = 0;
    double checkMs[std::size(store::kAllChecks)] = {};
    long long findings = 0, rows = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        // Each check's share, timed from one check's start to the next's.
        int at = -1;
        auto checkStart = start;
        const auto outcome = store::Review(work.db()).Run(
            {}, {}, [](const store::Finding&) {},
            [&](const store::ReviewProgress& p) {
                if (p.checkIndex != at) {
                    if (at >= 0) checkMs[at] += millisecondsSince(checkStart);
                    at = p.checkIndex;
                    checkStart = Clock::now();
                }
                return true;
            });
        checkMs[at] += millisecondsSince(checkStart);
        findings = outcome.findings;
        reviewMs += millisecondsSince(start);

        state.PauseTiming();
        start = Clock::now();
        rows = 0;
        for (const char* sql : kCheckQueries) rows += bench::StepAll(work.db().handle(), sql);
        sqliteMs += millisecondsSince(start);
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["results"] = static_cast<double>(results);
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["query_rows"] = static_cast<double>(rows);
    state.counters["review_ms"] = reviewMs / n;
    state.counters["sqlite_ms"] = sqliteMs / n;
    state.counters["ratio"] = reviewMs / sqliteMs;
    for (std::size_t i = 0; i < std::size(checkMs); ++i)
        state.counters[store::CheckCode(store::kAllChecks[i]) + "_ms"] = checkMs[i] / n;
}
BENCHMARK(BM_Review_AllChecks)
    ->Apply(bench::TableSizes)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

constexpr int kResults = 100000;

// One station's 100,000 samples with a conductance each, every 20th below the limit and
// every 40th a text "<5".
std::shared_ptr<platform::Database> stationDatabase(const std::string& path) {
    std::filesystem::remove(path);
    return store::CreateDatabaseFile(path, [](platform::Database& db) {
        db.ExecuteNative(
            "insert into TBLParameter_Codes values (95, 'SpCond', 'Specific conductance');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(101, 'Bear River at Bridge'), (102, 'Mill Creek');"
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
            std::to_string(kResults) +
            ") insert into tblsample (idloc, sample_code, station_id, start_date) select 'S', "
            "i, 101, datetime('1980-01-01', '+' || (i * 3) || ' hours') from n;"
            "insert into tblsample (idloc, sample_code, station_id, start_date) select 'B', "
            "sample_code, 102, start_date from tblsample where sample_code <= 10000;"
            "insert into tblresults (idloc, sample_code, parameter_code, result_value, "
            "remark_code) select idloc, sample_code, 95, 200 + (sample_code * 37 % 501), "
            "case when sample_code % 20 = 0 then '<' end from tblsample;"
            "insert into tblresults_val_nonnumeric (idloc, sample_code, parameter_code, "
            "result_value) select 'S', sample_code, 95, '<5' from tblsample where idloc = 'S' "
            "and sample_code % 40 = 1");
    });
}

// The summary row and the seasonal boxes of the station; the aim for the summary is at most
// 300 ms. The baseline steps the summary's query on bare SQLite.
void BM_Review_SummaryOfOneStation100k(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("dataloader-bench-summary-" + std::to_string(getpid()) + ".db"))
                                 .string();
    auto db = stationDatabase(path);
    const std::string sql =
        "select s.station_id, r.parameter_code, s.start_date, s.idloc, s.project_code, "
        "r.result_value, r.remark_code, null from tblsample s join tblresults r on r.idloc = "
        "s.idloc and r.sample_code = s.sample_code where s.station_id is not null and "
        "r.result_value is not null and s.station_id in (101) and r.parameter_code in (95) union "
        "all select s.station_id, t.parameter_code, s.start_date, s.idloc, s.project_code, null, "
        "t.remark_code, t.result_value from tblsample s join tblresults_val_nonnumeric t on "
        "t.idloc = s.idloc and t.sample_code = s.sample_code where s.station_id is not null and "
        "s.station_id in (101) and t.parameter_code in (95) order by 1";
    store::ReviewScope scope;
    scope.stations = {"101"};
    scope.parameters = {"95"};
    double summaryMs = 0, monthsMs = 0, sqliteMs = 0;
    long long count = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        const auto rows = store::RecordSummary(*db).Rows(scope);
        summaryMs += millisecondsSince(start);
        count = rows.empty() ? 0 : rows.front().count;
        start = Clock::now();
        benchmark::DoNotOptimize(store::RecordSummary(*db).ByMonth({}, "101", "95"));
        monthsMs += millisecondsSince(start);

        state.PauseTiming();
        start = Clock::now();
        bench::StepAll(db->handle(), sql.c_str());
        sqliteMs += millisecondsSince(start);
        state.ResumeTiming();
    }
    db.reset();
    std::filesystem::remove(path);
    const double n = static_cast<double>(state.iterations());
    state.counters["results"] = static_cast<double>(count);
    state.counters["summary_ms"] = summaryMs / n;
    state.counters["months_ms"] = monthsMs / n;
    state.counters["sqlite_ms"] = sqliteMs / n;
}
BENCHMARK(BM_Review_SummaryOfOneStation100k)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
