// The browse grids' rows and the hand-over of listed samples' results, on a few rows.
#include "Viewers.h"

#include <gtest/gtest.h>

#include "Database.h"
#include "EngineSupport.h"
#include "StatementCache.h"

using platform::DateTime;
using Strings = std::vector<std::string>;

namespace {

// Rows with their cells joined by '|', so a missing or extra cell shows.
Strings Joined(const store::GridRows& rows) {
    Strings out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + row[i];
        out.push_back(line);
    }
    return out;
}

Strings Column(const store::GridRows& rows, size_t col) {
    Strings out;
    for (const auto& row : rows) out.push_back(row.at(col));
    std::sort(out.begin(), out.end());
    return out;
}

class ViewersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("water.db"));
        db->ExecuteNative(
            "insert into tblOrganization values (1, 'State Office');"
            "insert into tblprojects_programs values ('8', 'Statewide', 1, 'All', 'Trends', "
            "'1998-01-01 00:00:00', NULL, 'Dana', '555'), ('NC-01', 'North', NULL, NULL, NULL, "
            "NULL, NULL, NULL, NULL);"
            "insert into tblmedium values ('W', 'Water'); insert into tblsample_type values "
            "('G', 'Grab');"
            "insert into tblstation_information (station_id, place_name_description, "
            "water_body_name) values (101, 'Bear River at Bridge', 'Bear River'), "
            "(102, 'O''Brien''s Ford', 'Mill Creek'), (103, NULL, NULL);"
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date, "
            "medium, sample_type, comment) values "
            "('V', 1, '8', 101, '2004-01-14 09:30:00', 'W', 'G', 'Calm'),"
            "('V', 2, 'NC-01', 102, NULL, NULL, NULL, NULL),"
            "('V', 3, 'ZZZ', 999, '2004-02-03 00:00:01', NULL, 'G', NULL),"
            "('S', 1, '8', 101, '2004-02-03 00:00:00', NULL, NULL, NULL),"
            "('S', 4, '8', 101, NULL, NULL, NULL, NULL);"
            "insert into tblresults values ('V', 1, 300, 8.4, NULL, 'A', 'Meter'),"
            "('V', 1, 10, 12, '<', 'B', NULL), ('S', 1, 300, 7.5, NULL, 'A', NULL),"
            "('V', 2, 10, 3, NULL, 'A', NULL);"
            "insert into tblreplicates values ('V', 1, 300, '8.1', NULL, 'A');"
            "insert into tblresults_val_nonnumeric values ('V', 1, 60, 'Dry', 'J', 'C'),"
            "('S', 1, 300, 'n/a', NULL, 'C')");
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(ViewersTest, ProjectsCarryTheirOrganizationAndNullsAreEmptyCells) {
    EXPECT_EQ(
        Joined(store::Viewers(*db).Projects()),
        (Strings{"8|Statewide|State Office|All|Trends|1/1/1998||Dana|555", "NC-01|North|||||||"}));
}

TEST_F(ViewersTest, StationFiltersCombine) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('V', 9, 'NC-01', 102)");
    struct Case {
        const char* name;
        store::StationViewFilter filter;
        Strings ids;
    };
    const Case cases[] = {
        {"none", {}, {"101", "102", "103"}},
        {"project of both sources, each station once", {"8", {}, {}}, {"101"}},
        {"project code holding a dash", {"NC-01", {}, {}}, {"102"}},
        {"empty place drops Null names", {{}, "", {}}, {"101", "102"}},
        {"quotes as typed, any case", {{}, "o'BRIEN's", {}}, {"102"}},
        {"star is a wildcard", {{}, "Bear*Bridge", {}}, {"101"}},
        {"water body", {{}, {}, "mill"}, {"102"}},
        {"project and place", {"8", "ford", {}}, {}},
    };
    store::Viewers viewers(*db);
    for (const auto& c : cases) EXPECT_EQ(Column(viewers.Stations(c.filter), 0), c.ids) << c.name;
    // Through the project's join each row still reads the station table, column by column.
    EXPECT_EQ(viewers.Stations({"8", {}, {}}), viewers.Stations({{}, "bear", {}}));
    EXPECT_EQ(viewers.Stations({}).at(0).size(), store::Viewers::kStationHeaders.size());
}

TEST_F(ViewersTest, SamplesByFilterWithTheirDescriptions) {
    const auto days = std::make_pair(DateTime{2004, 1, 14, 0, 0, 0}, DateTime{2004, 2, 3, 0, 0, 0});
    struct Case {
        const char* name;
        store::SampleViewFilter filter;
        Strings keys;  // source and code
    };
    const Case cases[] = {
        {"hand-entered, dated or not", {}, {"V1", "V2", "V3"}},
        {"every source, dated only", {true, {}, {}, {}}, {"S1", "V1", "V3"}},
        // Both bounds at midnight: the last day counts only at 00:00.
        {"days", {true, days, {}, {}}, {"S1", "V1"}},
        {"station", {true, {}, "101", {}}, {"S1", "V1"}},
        {"project holding a dash", {false, {}, {}, "NC-01"}, {"V2"}},
        {"all three", {true, days, "101", "8"}, {"S1", "V1"}},
    };
    store::Viewers viewers(*db);
    for (const auto& c : cases) {
        Strings keys;
        // Listing other sources, each row has its source right after its code.
        const int source = c.filter.allSources ? 1 : 11;
        for (const auto& row : viewers.Samples(c.filter))
            keys.push_back(row.at(source) + row.at(0));
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(keys, c.keys) << c.name;
    }
    auto rows = Joined(viewers.Samples({}));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (Strings{"1|Statewide|Bear River at Bridge|1/14/2004 9:30:00 AM|||Water|"
                             "Grab|||Calm|V",
                             "2|North|O'Brien's Ford|||||||||V",
                             // Project and station missing from their tables.
                             "3|||2/3/2004 12:00:01 AM||||Grab||||V"}));
    EXPECT_THROW(viewers.Samples({false, {}, "1 or 1=1", {}}), store::Refused);
}

TEST_F(ViewersTest, ResultsOfHandEnteredSamplesOrOfEverySourceAtAStation) {
    store::Viewers viewers(*db);
    store::ResultViewFilter one{{}, "1"};
    EXPECT_EQ(Joined(viewers.Results(one)), (Strings{"1|10|12|<|B|", "1|300|8.4||A|Meter"}));
    // Replicates come after the numeric results, text results last; neither has a comment.
    one.replicates = one.nonNumeric = true;
    EXPECT_EQ(Joined(viewers.Results(one)),
              (Strings{"1|10|12|<|B|", "1|300|8.4||A|Meter", "1|300|8.1||A", "1|60|Dry|J|C"}));
    one.replicates = false;
    EXPECT_EQ(Joined(viewers.Results(one)).back(), "1|60|Dry|J|C");
    // Anything but a number: every hand-entered numeric result, never the other source's.
    for (const char* typed : {"", "abc", "1x"})
        EXPECT_EQ(Column(viewers.Results({{}, typed}), 0), (Strings{"1", "1", "2"})) << typed;

    store::ResultViewFilter every{std::make_pair("101", "300"), "2", true, true};
    EXPECT_EQ(Joined(viewers.Results(every)),
              (Strings{"1|V|300|8.4||A|Meter|Statewide|1/14/2004 9:30:00 AM",
                       "1|S|300|7.5||A||Statewide|2/3/2004",
                       "1|V|300|8.1||A||Statewide|1/14/2004 9:30:00 AM",
                       "1|S|300|n/a||C||Statewide|2/3/2004"}));
}

// Rows of other sources bring the source forward, after the sample code; the hand-entered
// lists keep their columns.
TEST_F(ViewersTest, ListsOfEverySourceShowTheSourceAfterTheSampleCode) {
    using V = store::Viewers;
    EXPECT_EQ(Joined({V::SampleHeaders(false)}), Joined({V::kSampleHeaders}));
    EXPECT_EQ(Joined({V::SampleHeaders(true)}),
              Strings{"Sample Code|Source|Project Code|Station ID|Start Date|Missing Time|End "
                      "Date|Medium|Sample Type|Composite Statistic Code|Sample Depth|Comment"});
    EXPECT_EQ(Joined({V::ResultHeaders(false)}), Joined({V::kResultHeaders}));
    EXPECT_EQ(Joined({V::ResultHeaders(true)}),
              Strings{"Sample Code|Source|Parameter Code|Result Value|Remark Code|Grade|"
                      "Comments|Project Code|Start Date"});
    EXPECT_EQ(V::SampleSourceColumn(true), 1);
    EXPECT_EQ(V::SampleSourceColumn(false), 11);
    store::Viewers viewers(*db);
    const auto rows = viewers.ResultsOfSamples({{"S", 1}, {"V", 1}}, {}, true);
    ASSERT_TRUE(rows);
    EXPECT_EQ(Joined(*rows),
              (Strings{"1|S|300|7.5||A||8|2/3/2004", "1|V|10|12|<|B||8|1/14/2004 9:30:00 AM",
                       "1|V|300|8.4||A|Meter|8|1/14/2004 9:30:00 AM"}));
}

TEST_F(ViewersTest, TheHandOverReadsEachListedSampleInListOrder) {
    store::Viewers viewers(*db);
    Strings steps;
    const auto rows = viewers.ResultsOfSamples({{"S", 1}, {"S", 4}, {"V", 1}}, [&](long long done) {
        steps.push_back(std::to_string(done));
        return true;
    });
    ASSERT_TRUE(rows);
    EXPECT_EQ(Joined(*rows),
              (Strings{"1|300|7.5||A||S|8|2/3/2004", "1|10|12|<|B||V|8|1/14/2004 9:30:00 AM",
                       "1|300|8.4||A|Meter|V|8|1/14/2004 9:30:00 AM"}));
    EXPECT_EQ(steps, (Strings{"1", "2", "3"}));

    // A cancel stops at once and gives nothing.
    steps.clear();
    EXPECT_FALSE(viewers.ResultsOfSamples({{"S", 1}, {"V", 1}, {"V", 2}}, [&](long long done) {
        steps.push_back(std::to_string(done));
        return done < 2;
    }));
    EXPECT_EQ(steps, (Strings{"1", "2"}));

    // A sample gone since it was listed, or listed under the other source, is refused.
    EXPECT_THROW(viewers.ResultsOfSamples({{"V", 1}, {"V", 77}}), store::Refused);
    EXPECT_THROW(viewers.ResultsOfSamples({{"V", 4}}), store::Refused);
    EXPECT_THROW(viewers.ResultsOfSamples({}), store::Refused);
}

TEST_F(ViewersTest, TheHandOverReusesOneStatementAndEndsItsReadTransaction) {
    SKIP_ON_SERVER();
    db->ExecuteNative(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 600) "
        "insert into tblsample (idloc, sample_code, project_code) select 'S', 1000 + i, '8' "
        "from n; insert into tblresults select idloc, sample_code, 10, 1.5, NULL, 'A', NULL "
        "from tblsample where sample_code > 1000");
    std::vector<store::ListedSample> samples;
    for (int i = 1; i <= 600; ++i) samples.push_back({"S", 1000 + i});
    store::Viewers viewers(*db);
    const long long prepared = db->statements().prepareCount();
    EXPECT_EQ(viewers.ResultsOfSamples(samples)->size(), 600u);
    EXPECT_LE(db->statements().prepareCount() - prepared, 1);
    EXPECT_FALSE(db->InTransaction());
    db->BeginTrans();  // the read ended: a write can begin
    db->CommitTrans();
}
