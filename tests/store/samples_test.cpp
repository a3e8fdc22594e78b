// The hand-entered samples: storing, rewriting, deleting, locating and stepping, on a file
// made from the schema and the few rows each test needs.
#include "Samples.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "Database.h"
#include "EngineSupport.h"

using platform::DateTime;
using platform::EngineError;
using store::Sample;
using Codes = std::vector<long long>;

namespace {

class Samples : public ::testing::Test {
  protected:
    void SetUp() override { db = testing_support::EmptyDatabase(dir.file("w.db")); }
    store::Samples S() { return store::Samples(*db); }
    void Run(const std::string& sql) { db->ExecuteNative(sql); }
    long long Count(const std::string& table, const std::string& where) {
        return std::stoll(
            testing_support::QueryValue(*db, "select count(*) from " + table + " where " + where));
    }
    // "V" sample `code`: its rows over the four tables.
    long long Rows(long long code, const char* idloc = "V") {
        const std::string where =
            std::string("idloc = '") + idloc + "' and sample_code = " + std::to_string(code);
        return Count("tblsample", where) + Count("tblresults", where) +
               Count("tblresults_val_nonnumeric", where) + Count("tblreplicates", where);
    }
    void AddRow(long long code, const std::string& start, const std::string& rest = "") {
        Run("insert into tblsample (idloc, sample_code, start_date, project_code, station_id, "
            "medium, sample_type, comment) values ('V', " +
            std::to_string(code) + ", '" + start + "', " +
            (rest.empty() ? "'8', 101, 'W', 'G', 'plain'" : rest) + ")");
    }
    Codes Found(store::Cursor<Sample> found) {
        Codes codes;
        for (; !found.Eof(); found.MoveNext()) codes.push_back(found.Current().code);
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    static Sample Entry() {
        Sample s;
        s.project = "NC-01";  // codes holding '-' are stored whole
        s.station = "109";
        s.medium = "W-F";
        s.sampleType = "G-2";
        s.start = DateTime{2004, 5, 6, 14, 35, 0};
        s.comment = "O'Brien";
        return s;
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(Samples, AddTakesTheNextHandEnteredCodeUpToTheLimit) {
    const std::pair<Codes, long long> cases[] = {
        {{}, 1}, {{3, 41}, 42}, {{32766}, 32767}, {{32767}, 0}, {{5, 32767}, 0}};
    for (const auto& [existing, next] : cases) {
        Run("delete from tblsample; insert into tblsample (idloc, sample_code) values ('S', "
            "40000)");
        for (long long code : existing) AddRow(code, "2004-01-01");
        if (next) {
            EXPECT_EQ(S().Add(Entry()).code, next);
            EXPECT_EQ(testing_support::QueryValue(
                          *db,
                          "select project_code || medium || sample_type from tblsample "
                          "where idloc = 'V' and sample_code = " +
                              std::to_string(next)),
                      "NC-01W-FG-2");
        } else {
            try {
                S().Add(Entry());
                ADD_FAILURE() << "stored past the limit";
            } catch (const store::Refused& r) {
                EXPECT_NE(std::string(r.what()).find("limit"), std::string::npos);
            }
            EXPECT_EQ(Count("tblsample", "1 = 1"), static_cast<long long>(existing.size()) + 1);
        }
        EXPECT_FALSE(db->InTransaction());
    }
}

TEST_F(Samples, AddWritesWhatIsGivenAndUpdateKeepsWhatIsNot) {
    Sample full = Entry();
    full.missingTime = true;
    full.end = DateTime{2004, 5, 8, 7, 5, 0};
    full.depth = " 2.5 ";
    full.compositeStatistic = "M";
    const long long code = S().Add(full).code;
    const std::string row =
        "select start_date, missing_time, end_date, sample_depth, comment, "
        "composite_statistic_code, station_id from tblsample where "
        "idloc = ? and sample_code = ?";
    auto stored = [&](long long c) {
        const auto rows = testing_support::QueryRows(*db, row, {"V", c});
        std::string text;
        for (const std::string& cell : rows.at(0)) text += cell + "|";
        return text;
    };
    EXPECT_EQ(stored(code), "5/6/2004 2:35:00 PM|Y|5/8/2004 7:05:00 AM|2.5|O'Brien|M|109|");
    EXPECT_EQ(stored(S().Add(Entry()).code), "5/6/2004 2:35:00 PM|N|||O'Brien||109|");

    // An update without end date, depth or composite statistic keeps them.
    Sample edit = Entry();
    edit.code = code;
    edit.comment = "";
    edit.medium = "S";
    S().Update(edit);
    EXPECT_EQ(stored(code), "5/6/2004 2:35:00 PM|N|5/8/2004 7:05:00 AM|2.5||M|109|");
    EXPECT_EQ(Count("tblsample", "medium = 'S'"), 1);

    Run("delete from tblsample where sample_code = " + std::to_string(code));
    EXPECT_THROW(S().Update(edit), store::Refused);
    EXPECT_EQ(Count("tblsample", "1 = 1"), 1);
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(Samples, AWriteTheEngineRefusesStoresNothing) {
    AddRow(3, "2004-01-01");
    for (const char* event : {"INSERT", "UPDATE"}) {
        testing_support::RefuseWrites(*db, "refuse", event, "tblsample");
        Sample s = Entry();
        s.code = 3;
        EXPECT_THROW(*event == 'I' ? (void)S().Add(s) : S().Update(s), EngineError) << event;
        EXPECT_FALSE(db->InTransaction()) << event;
        EXPECT_EQ(Count("tblsample", "project_code = '8'"), 1) << event;
        testing_support::AllowWrites(*db, "refuse", "tblsample");
    }
}

// Another program holds the write lock with sample 1 not yet committed and commits as soon
// as this one has to wait. Read before the lock, the highest code would still be none; read
// in a transaction of its own, another program could take the code before the insert.
TEST_F(Samples, TheNextCodeAndTheInsertAreOneWriteTransaction) {
    SKIP_ON_SERVER();
    int commits = 0;
    sqlite3_commit_hook(
        db->handle(), [](void* n) { return ++*static_cast<int*>(n), 0; }, &commits);
    auto other = platform::Database::OpenDatabase(dir.file("w.db"));
    other->BeginTrans();
    other->ExecuteNative("insert into tblsample (idloc, sample_code) values ('V', 1)");
    sqlite3_busy_handler(
        db->handle(),
        [](void* p, int) {
            auto* holder = static_cast<platform::Database*>(p);
            if (holder->InTransaction()) holder->CommitTrans();
            return 1;
        },
        other.get());
    EXPECT_EQ(S().Add(Entry()).code, 2);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(Count("tblsample", "idloc = 'V'"), 2);
}

TEST_F(Samples, DeleteTakesTheSampleWithAllItsResultsOrNothing) {
    for (const char* idloc : {"V", "S"})
        for (const char* code : {"4", "5"}) {
            const std::string key = std::string("('") + idloc + "', " + code;
            Run("insert into tblsample (idloc, sample_code) values " + key + ");" +
                "insert into tblresults (idloc, sample_code, parameter_code) values " + key +
                ", 10), " + key + ", 11);" +
                "insert into tblresults_val_nonnumeric (idloc, sample_code, parameter_code) "
                "values " +
                key + ", 12);" +
                "insert into tblreplicates (idloc, sample_code, parameter_code) values " + key +
                ", 10)");
        }
    ASSERT_EQ(Rows(5), 5);
    // The sample itself goes last; refused there, everything stays.
    testing_support::RefuseWrites(*db, "refuse", "DELETE", "tblsample");
    EXPECT_THROW(S().Delete(5), EngineError);
    EXPECT_EQ(Rows(5), 5);
    EXPECT_FALSE(db->InTransaction());

    testing_support::AllowWrites(*db, "refuse", "tblsample");
    S().Delete(5);
    EXPECT_EQ(Rows(5), 0);
    EXPECT_EQ(Rows(4), 5);
    EXPECT_EQ(Rows(5, "S"), 5);
    // Gone already (another user deleted it): said, and nothing else goes.
    Run("delete from tblsample where idloc = 'V' and sample_code = 4");
    EXPECT_THROW(S().Delete(4), EngineError);
    EXPECT_EQ(Rows(4), 4);
}

TEST_F(Samples, LocateMatchesEachFieldAsTyped) {
    const DateTime now{2024, 6, 15, 12, 0, 0};
    AddRow(1, "2003-07-03 23:59:59", "'NC-01', 109, 'W-F', 'G-2', 'Met O''Brien at the bridge'");
    AddRow(2, "2003-07-04 00:00:00", "'NC', 110, 'W', 'G', 'pH 7* on the meter'");
    AddRow(3, "2003-07-04 23:59:00", "'8', 109, 'W', 'G', 'pH 75 on the meter'");
    AddRow(4, "2003-07-05 00:00:00", "'8', 101, 'W', 'G', 'pipe a_b [note] 100%'");
    AddRow(5, "2024-06-15 08:00:00", "'8', 101, 'W', 'G', 'pipe axb 1000 see Ørsted'");
    Run("update tblsample set sample_depth = 2.5, composite_statistic_code = 'M' "
        "where sample_code = 3;"
        "insert into tblsample (idloc, sample_code, comment) values ('S', 6, 'pH 7* on the "
        "meter')");
    using F = store::SampleFilter;
    const struct {
        const char* name;
        void (*set)(F&);
        Codes found;
    } cases[] = {
        {"nothing", [](F&) {}, {1, 2, 3, 4, 5}},
        {"number", [](F& f) { f.number = " 3 "; }, {3}},
        {"number not whole", [](F& f) { f.number = "1 or 1 = 1"; }, {}},
        {"a day, any time of it", [](F& f) { f.startDate = {2003, 7, 4, 15, 0, 0}; }, {2, 3}},
        {"a range",
         [](F& f) {
             f.startDate = {2003, 7, 3, 12, 0, 0};
             f.endDate = {2003, 7, 4, 12, 0, 0};
         },
         {1, 2}},
        {"start within the last day is no date",
         [](F& f) { f.startDate = {2024, 6, 14, 12, 0, 0}; },
         {1, 2, 3, 4, 5}},
        {"end alone is no date", [](F& f) { f.endDate = {2003, 7, 4, 0, 0, 0}; }, {1, 2, 3, 4, 5}},
        {"quote", [](F& f) { f.comment = "O'Brien"; }, {1}},
        {"star", [](F& f) { f.comment = "7*"; }, {2}},
        {"underscore and bracket", [](F& f) { f.comment = "a_b [note]"; }, {4}},
        {"percent", [](F& f) { f.comment = "0%"; }, {4}},
        {"letter case beyond ASCII", [](F& f) { f.comment = "ørsted"; }, {5}},
        {"one character is no comment", [](F& f) { f.comment = "z"; }, {1, 2, 3, 4, 5}},
        {"depth", [](F& f) { f.depth = "2.5"; }, {3}},
        {"depth not a number", [](F& f) { f.depth = "2.5 or 1"; }, {1, 2, 3, 4, 5}},
        {"project whole", [](F& f) { f.project = "NC-01"; }, {1}},
        {"project quoted", [](F& f) { f.project = "x' or 'a' = 'a"; }, {}},
        {"station", [](F& f) { f.station = "109"; }, {1, 3}},
        {"station not whole", [](F& f) { f.station = "109 or 1 = 1"; }, {}},
        {"medium and type", [](F& f) { f.medium = "W-F", f.sampleType = "G-2"; }, {1}},
        {"composite statistic", [](F& f) { f.compositeStatistic = "M"; }, {3}},
    };
    for (const auto& c : cases) {
        F f;
        f.startDate = f.endDate = now;
        c.set(f);
        EXPECT_EQ(Found(S().Locate(f, now)), c.found) << c.name;
    }
}

TEST_F(Samples, FindGoesByNumberOrByDay) {
    AddRow(1, "2004-01-14 23:59:59");
    AddRow(2, "2004-01-15 00:00:00");
    AddRow(3, "2004-01-14 00:00:00");
    Run("insert into tblsample (idloc, sample_code, start_date) values ('S', 4, '2004-01-14')");
    EXPECT_EQ(Found(S().Find(" 2 ", {})), Codes{2});
    EXPECT_EQ(Found(S().Find("4", {})), Codes{});
    EXPECT_EQ(Found(S().Find("", {2004, 1, 14, 6, 0, 0})), (Codes{1, 3}));
    EXPECT_THROW(S().Find("1.5", {}), store::Refused);
}

TEST_F(Samples, AStepReadsTheSampleReachedAfresh) {
    for (int code : {6, 7, 8}) AddRow(code, "2003-06-01");
    auto found =
        S().Locate({.startDate = DateTime::now(), .endDate = DateTime::now()}, DateTime::now());
    found.MoveFirst();
    ASSERT_EQ(found.Current().code, 6);
    Run("update tblsample set comment = 'corrected' where sample_code = 6;"
        "delete from tblsample where sample_code = 7");
    S().Step(found, true);
    EXPECT_EQ(found.Current().code, 8);
    S().Step(found, false);
    EXPECT_EQ(found.Current().comment, "corrected");
    S().Step(found, false);
    EXPECT_TRUE(found.Bof());
    EXPECT_THROW(found.Current(), EngineError);
}

TEST_F(Samples, ADepthComesBackAtFullPrecisionAndAnUpdateKeepsIt) {
    AddRow(1, "2004-01-01");
    AddRow(2, "2004-01-02");
    Run("update tblsample set sample_depth = 0.30000000000000004 where sample_code = 1;"
        "update tblsample set sample_depth = 0.3 where sample_code = 2");
    for (const auto& [code, shown] : {std::pair{1, "0.30000000000000004"}, {2, "0.3"}}) {
        store::SampleFilter filter;
        filter.number = std::to_string(code);
        filter.startDate = filter.endDate = DateTime{2026, 1, 1};  // no date chosen
        const Sample found = S().Locate(filter, filter.startDate).Current();
        EXPECT_EQ(found.depth, shown);
        S().Update(found);
        EXPECT_EQ(Count("tblsample", "sample_depth = " + std::string(shown)), 1) << shown;
    }
}

TEST_F(Samples, SameAsNamesTheHandEnteredSampleKeyedAtTheSameStationTimeMediumAndType) {
    const Sample first = S().Add(Entry());
    Sample again = Entry();
    again.comment = "keyed twice";
    EXPECT_EQ(S().SameAs(again), first.code);
    Run("update tblsample set idloc = 'S' where sample_code = " + std::to_string(first.code));
    EXPECT_EQ(S().SameAs(again), std::nullopt);  // another source's sample is no double
    Run("update tblsample set idloc = 'V'");
    auto differs = [&](auto change) {
        Sample other = Entry();
        change(other);
        return !S().SameAs(other).has_value();
    };
    EXPECT_TRUE(differs([](Sample& s) { s.station = "110"; }));
    EXPECT_TRUE(differs([](Sample& s) { s.start->minute = 36; }));
    EXPECT_TRUE(differs([](Sample& s) { s.medium = "W"; }));
    EXPECT_TRUE(differs([](Sample& s) { s.sampleType = "G"; }));
}
