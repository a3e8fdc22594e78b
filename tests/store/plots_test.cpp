// The series a plot is drawn from: which results become points, of which kind, at which value.
#include "Plots.h"

#include <gtest/gtest.h>

#include "Conversions.h"
#include "EngineSupport.h"

using Strings = std::vector<std::string>;

namespace {

class PlotsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("water.db"));
        db->ExecuteNative(
            "insert into TBLParameter_Codes values (300, 'DO', 'Dissolved oxygen, mg/L'),"
            "(10, 'Temp', NULL);"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(101, 'Bear River at Bridge'), (102, NULL);"
            "insert into tblsample (idloc, sample_code, station_id, start_date) values "
            "('V', 1, 101, '2004-03-01 09:30:00'), ('S', 1, 101, '2004-01-14 00:00:00'),"
            "('V', 2, 101, '2004-02-03 00:00:00'), ('V', 3, 101, NULL),"
            "('V', 4, 102, '2004-01-01 00:00:00'), ('S', 5, 101, '2004-05-05 00:00:00');"
            "insert into tblresults values ('V', 1, 300, 8.4, NULL, 'A', NULL),"
            "('S', 1, 300, 0.2, '<', 'A', NULL), ('V', 2, 300, 0.3, 'K', NULL, NULL),"
            "('V', 3, 300, 9, NULL, NULL, NULL), ('V', 4, 300, 7, NULL, NULL, NULL),"
            "('V', 1, 10, 12, NULL, NULL, NULL), ('S', 5, 300, NULL, NULL, NULL, NULL);"
            "insert into tblresults_val_nonnumeric values ('V', 2, 10, '<5', NULL, NULL),"
            "('S', 5, 300, ' <0.5', 'U', NULL), ('V', 4, 300, '<1', NULL, NULL);"
            "insert into tblreplicates values ('V', 1, 300, '8.1', NULL, 'A'),"
            "('V', 2, 300, 'lost', NULL, NULL), ('S', 5, 300, 'Dry', NULL, NULL)");
    }

    // Each point as "date|value|kind|source sample|remark|value as stored".
    Strings Points(const std::set<std::string>& below = {"<"}) {
        Strings out;
        for (const auto& p : store::Plots(*db).Series("101", "300", below).points)
            out.push_back(p.date.toStored() + "|" + platform::NumberToText(p.value) + "|" +
                          "MNR"[static_cast<int>(p.kind)] + "|" + p.source + p.sampleCode + "|" +
                          p.remark + "|" + p.shownValue);
        return out;
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(PlotsTest, EveryDatedResultOfTheStationAndParameterInDateOrder) {
    // The undated sample, other stations and parameters, a Null value, text that is no "<N"
    // and a replicate that is no number are left out.
    EXPECT_EQ(Points(),
              (Strings{"2004-01-14 00:00:00|0.2|N|S1|<|0.2", "2004-02-03 00:00:00|0.3|M|V2|K|0.3",
                       "2004-03-01 09:30:00|8.4|M|V1||8.4", "2004-03-01 09:30:00|8.1|R|V1||8.1",
                       "2004-05-05 00:00:00|0.5|N|S5|U| <0.5"}));
}

TEST_F(PlotsTest, RemarksMarkedBelowTheLimitMakeNonDetects) {
    const Strings points = Points({"K"});
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[0], "2004-01-14 00:00:00|0.2|M|S1|<|0.2");
    EXPECT_EQ(points[1], "2004-02-03 00:00:00|0.3|N|V2|K|0.3");
}

TEST_F(PlotsTest, StationNameParameterNameAndRange) {
    store::Plots plots(*db);
    EXPECT_EQ(plots.Series("101", "300").stationName, "Bear River at Bridge");
    EXPECT_EQ(plots.Series("102", "300").stationName, "");
    EXPECT_EQ(plots.ParameterName("300"), "Dissolved oxygen, mg/L");
    EXPECT_EQ(plots.ParameterName("10"), "10");
    EXPECT_FALSE(plots.Range("300"));  // no limits table
    db->ExecuteNative(
        "create table tblparameter_limits (parameter_code integer, lower_limit real, "
        "upper_limit real); insert into tblparameter_limits values (300, 5, 11.5)");
    ASSERT_TRUE(plots.Range("300"));
    EXPECT_EQ(plots.Range("300")->low, 5);
    EXPECT_EQ(plots.Range("300")->high, 11.5);
    EXPECT_FALSE(plots.Range("10"));
    EXPECT_THROW(plots.Series("101; drop table tblsample", "300"), store::Refused);
}

// The parameter a plot is asked for: a known code first, then a short name in any letter
// case (the lowest code when two share one), then any other whole number as it is.
TEST_F(PlotsTest, AParameterIsNamedByItsCodeOrShortName) {
    db->ExecuteNative(
        "insert into TBLParameter_Codes values (7, 'ph', 'pH'), (5, 'PH', NULL), (8, '300', NULL),"
        "(9, NULL, NULL), (11, '', NULL)");
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"300", "300"},
        {" 0300 ", "300"},
        {"do", "300"},
        {" Do ", "300"},
        {"TEMP", "10"},
        {"pH", "5"},
        {"400", "400"},
        {"nitrate", std::nullopt},
        {"", std::nullopt},
        {"D", std::nullopt},
        {"do; drop table x", std::nullopt},
    };
    store::Plots plots(*db);
    for (const auto& [given, code] : cases) EXPECT_EQ(plots.ParameterCode(given), code) << given;
}
