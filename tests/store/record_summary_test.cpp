// The summary of a station's record and its box plots: below-limit results counted apart,
// never averaged in at their limit.
#include <gtest/gtest.h>

#include "Database.h"
#include "EngineSupport.h"
#include "RecordSummary.h"

namespace {

class Summary : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("summary.db"));
        db->ExecuteNative(
            "insert into TBLParameter_Codes values (95, 'SpCond', 'Conductance'), (400, 'pH', "
            "'pH');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(1, 'Bear River'), (2, 'Mill Creek');"
            "create table tblparameter_limits (parameter_code INTEGER PRIMARY KEY, "
            "lower_limit REAL, upper_limit REAL);"
            "insert into tblparameter_limits values (400, 6.5, 8.5)");
        // Station 1: SpCond 1 to 9 and 100 in January and February, one result below 0.5
        // and a text "<0.2", text that is no value, a replicate; pH 7 and 9.
        db->BeginTrans();
        for (int i = 1; i <= 12; ++i)
            db->Execute(
                "insert into tblsample (idloc, sample_code, station_id, start_date, project_code) "
                "values ('S', ?, ?, ?, 'P1')",
                {i, i == 12 ? 2 : 1, platform::DateTime{2004, i <= 5 ? 1 : 2, i}});
        for (int i = 1; i <= 10; ++i)
            db->Execute(
                "insert into tblresults (idloc, sample_code, parameter_code, "
                "result_value) values ('S', ?, 95, ?)",
                {i, i == 10 ? 100.0 : double(i)});
        db->ExecuteNative(
            "insert into tblresults (idloc, sample_code, parameter_code, result_value, "
            "remark_code) values ('S', 11, 95, 0.5, '<'), ('S', 1, 400, 7, NULL), ('S', 2, 400, "
            "9, NULL), ('S', 12, 95, 40, NULL);"
            "insert into tblresults_val_nonnumeric (idloc, sample_code, parameter_code, "
            "result_value) values ('S', 3, 400, 'TNTC'), ('S', 4, 400, '<0.2');"
            "insert into tblreplicates (idloc, sample_code, parameter_code, result_value) values "
            "('S', 1, 95, '1000')");
        db->CommitTrans();
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(Summary, EachStationAndParameterInFiguresWithBelowLimitResultsApart) {
    std::vector<store::GridRow> rows;
    for (const auto& row : store::RecordSummary(*db).Rows({}))
        rows.push_back(store::RecordSummary::Cells(row));
    EXPECT_EQ(rows, (std::vector<store::GridRow>{
                        {"1", "Bear River", "95", "SpCond", "11", "1", "1", "1.9", "5.5", "14.5",
                         "18.1", "100", "1/1/2004", "2/11/2004", "0"},
                        {"1", "Bear River", "400", "pH", "3", "1", "7", "7.2", "8", "8", "8.8", "9",
                         "1/1/2004", "1/4/2004", "1"},
                        {"2", "Mill Creek", "95", "SpCond", "1", "0", "40", "40", "40", "40", "40",
                         "40", "2/12/2004", "2/12/2004", "0"}}));
    store::ReviewScope scope;
    scope.stations = {"1"};
    scope.parameters = {"95"};
    scope.to = platform::DateTime{2004, 1, 31};
    const auto january = store::RecordSummary(*db).Rows(scope);
    ASSERT_EQ(january.size(), 1u);
    EXPECT_EQ(january[0].count, 5);
    EXPECT_EQ(*january[0].mean, 3);
}

TEST_F(Summary, BoxesByStationAndByMonth) {
    const auto months = store::RecordSummary(*db).ByMonth({}, "1", "95");
    ASSERT_EQ(months.size(), 12u);
    EXPECT_EQ(months[0].label, "Jan");
    EXPECT_EQ(months[0].count, 5);
    EXPECT_EQ(months[2].count, 0);
    const store::Box& february = months[1];
    // 6, 7, 8, 9 and 100, and 0.5 below its limit.
    EXPECT_EQ(february.count, 5);
    EXPECT_EQ(february.q1, 7);
    EXPECT_EQ(february.median, 8);
    EXPECT_EQ(february.q3, 9);
    EXPECT_EQ(february.lowWhisker, 6);
    EXPECT_EQ(february.highWhisker, 9);
    EXPECT_EQ(february.outliers, std::vector<double>{100});
    EXPECT_EQ(february.belowLimit, std::vector<double>{0.5});

    const auto stations = store::RecordSummary(*db).ByStation({}, "95");
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations[0].label, "1");
    EXPECT_EQ(stations[0].count, 10);
    EXPECT_EQ(stations[1].label, "2");
    EXPECT_EQ(stations[1].median, 40);
}
