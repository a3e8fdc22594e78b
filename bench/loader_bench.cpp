// The Data Loader window on a large database, against bare SQLite in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "SqliteBaseline.h"
#include "WorkingDatabase.h"
#include "frmDataLoader.h"

namespace {

// What the window reads when it opens: six lookup lists, project 8's parameters and the
// project grid.
const char* kOpenQueries[] = {
    "select * from tblsample_type",
    "select * from tblstation_information",
    "select * from tblprojects_programs",
    "select * from tblcomposite_statistic",
    "select * from tblmedium",
    "select * from tblresults_remarks",
    "SELECT DISTINCT p.parameter_code, p.short_name FROM (tblsample s INNER JOIN tblresults r "
    "ON s.idloc=r.idloc AND s.sample_code=r.sample_code) INNER JOIN tblparameter_codes p ON "
    "r.parameter_code=p.parameter_code WHERE s.project_code='8'",
    "select tblprojects_programs.*, tblorganization.organization_name from tblprojects_programs "
    "left join tblOrganization on tblprojects_programs.organization_id = "
    "tblorganization.organization_id",
};

using bench::WorkingDatabase;

// Baseline: the window's queries on bare SQLite.
void BM_Sqlite_DataLoaderOpenQueries(benchmark::State& state) {
    WorkingDatabase work({});
    for (auto _ : state) {
        long long rows = 0;
        for (const char* sql : kOpenQueries) rows += bench::StepAll(work.db().handle(), sql);
        state.counters["rows"] = static_cast<double>(rows);
    }
}
BENCHMARK(BM_Sqlite_DataLoaderOpenQueries)->Unit(benchmark::kMillisecond);

// Ours: the window built and loaded, as the user opens it; the aim is well under a second.
void BM_DataLoader_Open(benchmark::State& state) {
    WorkingDatabase work({});
    const long long stations = work.count("select count(*) from tblstation_information");
    const long long projects = work.count("select count(*) from tblprojects_programs");
    for (auto _ : state) {
        auto f = std::make_unique<loader::frmDataLoader>();
        f->Form_Load();
        state.PauseTiming();
        // A window whose lists came back short measured nothing worth reporting.
        if (f->cmbStation_id.ListCount() != stations ||
            f->cmbProject_Code.ListCount() != projects) {
            state.SkipWithError("the window's lists do not hold every station and project");
            return;
        }
        f.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DataLoader_Open)->Unit(benchmark::kMillisecond);

// Saving one hand-entered sample, on a small and on a large table: the time must not grow
// with the table. The sample is deleted again so every save gets the same code.
void BM_DataLoader_SaveSample(benchmark::State& state) {
    bench::LargeDatabaseSize size;
    size.samples = static_cast<int>(state.range(0));
    WorkingDatabase work(size);
    const long long next =
        work.count("select max(sample_code) + 1 from tblsample where idloc = 'V'");
    const std::string remove =
        "DELETE FROM tblsample WHERE idloc = 'V' AND sample_code = " + std::to_string(next);
    loader::frmDataLoader f;
    f.Form_Load();
    // Every station listed, so choosing the project below does not refill the station list.
    f.Check11.SetValue(1);
    for (auto _ : state) {
        state.PauseTiming();
        f.cmbProject_Code.SetListIndex(0);
        f.cmbStation_id.SetListIndex(0);
        f.cmbMedium.SetListIndex(0);
        f.CMBSample_Type.SetListIndex(0);
        f.txtSample_Depth.SetText("1.5");
        f.txtcomment.SetText("Benchmark sample");
        work.dialogs().clear();
        state.ResumeTiming();

        f.CmdAddSample_Click();

        state.PauseTiming();
        if (f.lblCode.Caption() != std::to_string(next)) {
            const auto texts = work.dialogs().texts();
            state.SkipWithError(("no sample saved as " + std::to_string(next) +
                                 (texts.empty() ? std::string() : ": " + texts.front()))
                                    .c_str());
            return;
        }
        work.db().ExecuteNative(remove);
        state.ResumeTiming();
    }
    state.counters["samples"] = static_cast<double>(size.samples);
}
BENCHMARK(BM_DataLoader_SaveSample)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Baseline of the save on bare SQLite: the next code from the key, one insert, and the
// parameter short list the save refreshes afterwards (the one part that grows with the
// results table).
void BM_Sqlite_SaveSampleQueries(benchmark::State& state) {
    bench::LargeDatabaseSize size;
    size.samples = static_cast<int>(state.range(0));
    WorkingDatabase work(size);
    sqlite3* db = work.db().handle();
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        bench::StepAll(db, "select max(sample_code) from tblsample where idloc = 'V'");
        sqlite3_exec(db,
                     "insert into tblsample (idloc, sample_code, project_code, station_id, "
                     "start_date, missing_time, medium, sample_type, sample_depth, comment) "
                     "values ('V', 32000, '8', 101, '2026-12-06 10:00:00', 'N', 'W', 'G', 1.5, "
                     "'Benchmark sample')",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        bench::StepAll(db, kOpenQueries[6]);
        state.PauseTiming();
        sqlite3_exec(db, "delete from tblsample where idloc = 'V' and sample_code = 32000", nullptr,
                     nullptr, nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Sqlite_SaveSampleQueries)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Choosing project 8 in the "Sample" tab refills the station list with its stations.
const char* kStationsOfProject8 =
    "select distinct tblstation_information.*, tblsample.project_code from "
    "tblstation_information right join tblsample on tblsample.station_id = "
    "tblstation_information.station_id where tblsample.project_code = '8'";

// Baseline: the station query on bare SQLite.
void BM_Sqlite_StationsOfProject(benchmark::State& state) {
    WorkingDatabase work({});
    for (auto _ : state)
        state.counters["rows"] =
            static_cast<double>(bench::StepAll(work.db().handle(), kStationsOfProject8));
}
BENCHMARK(BM_Sqlite_StationsOfProject)->Unit(benchmark::kMillisecond);

// Ours: the user picks project 8 and waits for the station list.
void BM_DataLoader_ChooseProject(benchmark::State& state) {
    WorkingDatabase work({});
    loader::frmDataLoader f;
    f.Form_Load();
    int project8 = -1;
    for (int i = 0; i < f.cmbProject_Code.ListCount(); ++i)
        if (f.cmbProject_Code.List(i).starts_with("8-")) project8 = i;
    if (project8 < 0) {
        state.SkipWithError("project 8 is not in the list");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        f.cmbProject_Code.SetListIndex(-1);
        state.ResumeTiming();
        f.cmbProject_Code.SetListIndex(project8);
    }
    state.counters["stations"] = f.cmbStation_id.ListCount();
}
BENCHMARK(BM_DataLoader_ChooseProject)->Unit(benchmark::kMillisecond);

}  // namespace
