// The review's checks over a few rows: what each must find and what it must leave alone,
// the scope, and the marks of reviewed findings.
#include "Review.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "Database.h"
#include "EngineSupport.h"
#include "History.h"
#include "Journal.h"

using store::Check;
using Strings = std::vector<std::string>;

namespace {

class ReviewChecks : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("review.db");
        db = testing_support::EmptyDatabase(path);
        db->ExecuteNative(
            "insert into TBLParameter_Codes values (400, 'pH', 'pH'), (95, 'SpCond', "
            "'Conductance'), (665, 'TP', 'Phosphorus, total'), (666, 'DP', 'Phosphorus, "
            "dissolved'), (10, 'Temp', 'Temperature');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(1, 'Bear River'), (2, 'Mill Creek');"
            "create table tblparameter_limits (parameter_code INTEGER PRIMARY KEY, "
            "lower_limit REAL, upper_limit REAL);"
            "insert into tblparameter_limits values (400, 6.5, 8.5), (10, 0, 20)");
    }
    // A sample at `station` on day `day` of 2004 (counted from January 1).
    void Sample(const std::string& source, int code, int station, int day,
                const std::string& medium = "W", const std::string& project = "P1") {
        db->Execute(
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date, "
            "medium, sample_type) values (?, ?, ?, ?, ?, ?, 'G')",
            {source, code, project, station, platform::DateTime{2004, 1, 1}.addDays(day - 1),
             medium});
    }
    void Numeric(const std::string& source, int code, int parameter, double value,
                 const char* remark = nullptr) {
        db->Execute(
            "insert into tblresults (idloc, sample_code, parameter_code, result_value, "
            "remark_code) values (?, ?, ?, ?, ?)",
            {source, code, parameter, value,
             remark ? platform::Variant(remark) : platform::Variant()});
    }
    void Text(const char* table, const std::string& source, int code, int parameter,
              const std::string& value, const char* remark = nullptr) {
        db->Execute(std::string("insert into ") + table +
                        " (idloc, sample_code, parameter_code, result_value, remark_code) values "
                        "(?, ?, ?, ?, ?)",
                    {source, code, parameter, value,
                     remark ? platform::Variant(remark) : platform::Variant()});
    }
    // "S 3 p400 71: detail" per finding of the one check.
    Strings Found(Check check, const store::ReviewScope& scope = {},
                  store::ReviewSettings settings = {}) {
        settings.checks = {check};
        Strings found;
        for (const auto& f : store::Review(*db).Findings(scope, settings))
            found.push_back(f.source + " " + std::to_string(f.sampleCode) + " p" +
                            std::to_string(f.parameterCode) + " " + f.value + ": " + f.detail);
        return found;
    }

    testing_support::TempDir dir;
    std::string path;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(ReviewChecks, OutsideTheLimitsButNotOnThemNorBelowTheDetectionLimit) {
    const std::pair<double, const char*> values[] = {
        {6.5, nullptr}, {8.5, nullptr}, {8.51, nullptr}, {6.4, nullptr}, {1, "<"}};
    int code = 0;
    for (const auto& [value, remark] : values) {
        Sample("S", code + 1, 1, code + 1);
        ++code;
        Numeric("S", code, 400, value, remark);
    }
    EXPECT_EQ(Found(Check::OutsideRange),
              (Strings{"S 3 p400 8.51: 8.51 is above the expected range 6.5 to 8.5 (from the "
                       "table of parameter limits)",
                       "S 4 p400 6.4: 6.4 is below the expected range 6.5 to 8.5 (from the table "
                       "of parameter limits)"}));
}

TEST_F(ReviewChecks, TheStationsPercentilesCountOnceThirtyEarlierResultsStandBehindThem) {
    // Days 1 to 29 hold 100 to 128; day 40 holds a far value; another station's and a
    // below-limit result are no part of the record.
    db->BeginTrans();
    for (int day = 1; day <= 29; ++day) {
        Sample("S", day, 1, day);
        Numeric("S", day, 95, 99 + day);
    }
    db->CommitTrans();
    Sample("B", 1, 2, 35);
    Numeric("B", 1, 95, 110);
    Sample("B", 2, 1, 35);
    Numeric("B", 2, 95, 0.5, "<");
    Sample("V", 40, 1, 40);
    Numeric("V", 40, 95, 5000);
    EXPECT_EQ(Found(Check::OutsideRange), Strings{}) << "29 earlier results are too few";

    // A thirtieth on the far value's own day is no earlier result; one the day before is.
    Sample("S", 30, 1, 40);
    Numeric("S", 30, 95, 129);
    EXPECT_EQ(Found(Check::OutsideRange), Strings{});
    db->Execute("update tblsample set start_date = ? where idloc = 'S' and sample_code = 30",
                {platform::DateTime{2004, 2, 8}});
    EXPECT_EQ(Found(Check::OutsideRange),
              Strings{"V 40 p95 5000: 5000 is above the station's 99th percentile, 128.71, of its "
                      "30 earlier results"});
    // The record holds every source while the scope lists only what it covers.
    store::ReviewScope handEntered;
    handEntered.handEnteredOnly = true;
    EXPECT_EQ(Found(Check::OutsideRange, handEntered).size(), 1u);
    store::ReviewScope station;  // read another way: the station's samples joined
    station.stations = {"1"};
    EXPECT_EQ(Found(Check::OutsideRange, station).size(), 1u);
    station.stations = {"2"};
    EXPECT_EQ(Found(Check::OutsideRange, station).size(), 0u);
    store::ReviewScope before;
    before.to = platform::DateTime{2004, 2, 8};
    EXPECT_EQ(Found(Check::OutsideRange, before), Strings{});
}

TEST_F(ReviewChecks, ReplicatesAreScoredByRpdAndPairsWithTextOrLimitsListedApart) {
    struct Pair {
        const char* result;  // "TNTC" is text, "<" a below-limit result of 1
        const char* replicate;
    } pairs[] = {{"10", "12"}, {"9", "11"},   {"7.2", "10.4"}, {"TNTC", "5"},
                 {"<", "1.5"}, {"3", "<0.5"}, {"4", "lost"}};
    int code = 0;
    for (const auto& p : pairs) {
        Sample("S", code + 1, 1, code + 1);
        ++code;
        const std::string result = p.result;
        if (result == "TNTC")
            Text("tblresults_val_nonnumeric", "S", code, 95, result);
        else if (result == "<")
            Numeric("S", code, 95, 1, "<");
        else
            Numeric("S", code, 95, std::stod(result));
        Text("tblreplicates", "S", code, 95, p.replicate);
    }
    Sample("S", 99, 1, 99);
    Text("tblreplicates", "S", 99, 95, "50");  // no result of its own to compare
    EXPECT_EQ(Found(Check::ReplicateDisagrees),
              Strings{"S 3 p95 7.2 / 10.4: RPD 36.4 % between 7.2 and 10.4 (more than 20 %)"})
        << "9 and 11 differ by 20 % exactly";
    EXPECT_EQ(Found(Check::ReplicateNotScored),
              (Strings{"S 4 p95 TNTC / 5: Not scored (the result is text): the result \"TNTC\", "
                       "its replicate \"5\"",
                       "S 5 p95 <1 / 1.5: Not scored (below the limit): the result \"<1\", its "
                       "replicate \"1.5\"",
                       "S 6 p95 3 / <0.5: Not scored (below the limit): the result \"3\", its "
                       "replicate \"<0.5\"",
                       "S 7 p95 4 / lost: Not scored (the replicate is text): the result \"4\", "
                       "its replicate \"lost\""}));
    store::ReviewSettings loose;
    loose.rpdByParameter[95] = 40;
    EXPECT_EQ(Found(Check::ReplicateDisagrees, {}, loose), Strings{});
    loose.rpdByParameter.clear();
    loose.rpdPercent = 15;
    EXPECT_EQ(Found(Check::ReplicateDisagrees, {}, loose).size(), 3u);
}

TEST_F(ReviewChecks, APartAboveItsWholeBeyondTheTolerance) {
    EXPECT_EQ(Found(Check::PartAboveWhole), Strings{});
    db->ExecuteNative("insert into tblparameter_pairs values (666, 665, 10)");
    const struct {
        double part, whole;
        const char* partRemark;
        const char* wholeRemark;
    } cases[] = {{0.55, 0.5, nullptr, nullptr},  // 10 % above: allowed
                 {0.56, 0.5, nullptr, nullptr},  // 12 %
                 {0.4, 0.5, nullptr, nullptr},   //
                 {0.9, 0.5, "<", nullptr},       // the part may be anything below 0.9
                 {0.9, 0.5, nullptr, "<"}};      // the whole is below 0.5
    int code = 0;
    for (const auto& c : cases) {
        Sample("S", code + 1, 1, code + 1);
        ++code;
        Numeric("S", code, 666, c.part, c.partRemark);
        Numeric("S", code, 665, c.whole, c.wholeRemark);
    }
    EXPECT_EQ(Found(Check::PartAboveWhole),
              (Strings{"S 2 p666 0.56 / 0.5: DP (666) 0.56 is above TP (665) 0.5 by 12 % (10 % "
                       "allowed)",
                       "S 5 p666 0.9 / <0.5: DP (666) 0.9 is above TP (665) below its limit of "
                       "0.5 (10 % allowed)"}));
    store::ReviewScope other;
    other.parameters = {"400"};
    EXPECT_EQ(Found(Check::PartAboveWhole, other), Strings{});
    other.parameters = {"665"};
    EXPECT_EQ(Found(Check::PartAboveWhole, other).size(), 2u);
    // An older database without the table has no pairs to check.
    db->ExecuteNative("drop table tblparameter_pairs");
    EXPECT_EQ(Found(Check::PartAboveWhole), Strings{});
}

TEST_F(ReviewChecks, ValuesThatCannotBe) {
    const std::pair<int, double> values[] = {{400, 71},   {400, 14}, {400, 0},
                                             {400, -0.1}, {10, -1},  {95, -1}};
    int code = 0;
    for (const auto& [parameter, value] : values) {
        Sample("S", code + 1, 1, code + 1);
        ++code;
        Numeric("S", code, parameter, value);
    }
    EXPECT_EQ(Found(Check::NotPossible),
              (Strings{"S 1 p400 71: A pH of 71 is not possible: pH lies between 0 and 14",
                       "S 4 p400 -0.1: A pH of -0.1 is not possible: pH lies between 0 and 14",
                       "S 5 p10 -1: A negative value is not possible: the expected range "
                       "starts at 0 or above"}))
        << "SpCond has no limits to say it cannot be negative";
}

TEST_F(ReviewChecks, TheSameSampleTwiceAcrossSources) {
    Sample("S", 1, 1, 5);
    Sample("B", 7, 1, 5);
    Sample("V", 3, 1, 5);
    Sample("V", 4, 1, 5, "S");  // another medium
    Sample("V", 5, 2, 5);       // another station
    Sample("V", 6, 1, 6);       // another day
    EXPECT_EQ(Found(Check::SameSampleTwice),
              (Strings{"B 7 p0 S 1, V 3: Same station, start, medium (W) and sample type (G) as "
                       "S 1, V 3",
                       "S 1 p0 B 7, V 3: Same station, start, medium (W) and sample type (G) as "
                       "B 7, V 3",
                       "V 3 p0 B 7, S 1: Same station, start, medium (W) and sample type (G) as "
                       "B 7, S 1"}));
    store::ReviewScope scope;
    scope.handEnteredOnly = true;
    EXPECT_EQ(Found(Check::SameSampleTwice, scope).size(), 1u);
    scope.from = platform::DateTime{2004, 1, 6};
    EXPECT_EQ(Found(Check::SameSampleTwice, scope), Strings{});
}

TEST_F(ReviewChecks, TheScopeNarrowsByProjectStationParameterAndDays) {
    Sample("S", 1, 1, 10, "W", "P1");
    Numeric("S", 1, 400, 9);
    Sample("S", 2, 2, 11, "W", "P2");
    Numeric("S", 2, 400, 9);
    Numeric("S", 2, 10, 30);
    auto count = [&](const store::ReviewScope& scope) {
        return Found(Check::OutsideRange, scope).size();
    };
    store::ReviewScope scope;
    EXPECT_EQ(count(scope), 3u);
    scope.project = "P2";
    EXPECT_EQ(count(scope), 2u);
    scope.parameters = {"10"};
    EXPECT_EQ(count(scope), 1u);
    scope = {};
    scope.stations = {"1"};
    EXPECT_EQ(count(scope), 1u);
    scope = {};
    scope.from = scope.to = platform::DateTime{2004, 1, 11};  // both days included
    EXPECT_EQ(count(scope), 2u);
    scope.stations = {"x"};
    EXPECT_THROW(count(scope), store::Refused);
}

TEST_F(ReviewChecks, ProgressIsToldAndCancelStops) {
    Sample("S", 1, 1, 1);
    Numeric("S", 1, 400, 71);
    std::vector<Check> told;
    const auto outcome = store::Review(*db).Run(
        {}, {}, [](const store::Finding&) {},
        [&](const store::ReviewProgress& p) {
            told.push_back(p.check);
            return p.check != Check::NotPossible;
        });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.findings, 1) << "the range check's finding, before the stop";
    EXPECT_EQ(told.size(), 5u);
}

TEST_F(ReviewChecks, AMarkHidesItsFindingUntilTheValueChangesSurvivesReopeningAndIsUndone) {
    Sample("S", 1, 1, 1);
    Numeric("S", 1, 400, 71);
    Sample("S", 2, 1, 2);
    Numeric("S", 2, 400, 9);
    auto found = [&](bool showReviewed = false) {
        store::ReviewSettings settings;
        settings.checks = {Check::OutsideRange};
        settings.showReviewed = showReviewed;
        return store::Review(*db).Findings({}, settings);
    };
    ASSERT_EQ(found().size(), 2u);
    // An older database gets the table with its first mark.
    db->ExecuteNative("drop table tblresult_review");
    store::ReviewMarks(*db).Mark({found()[0]}, "checked the bench sheet");
    EXPECT_EQ(found().size(), 1u);
    const auto shown = found(true);
    ASSERT_EQ(shown.size(), 2u);
    ASSERT_TRUE(shown[0].mark);
    EXPECT_EQ(shown[0].mark->note, "checked the bench sheet");
    EXPECT_EQ(shown[0].mark->value, "71");
    EXPECT_EQ(shown[0].mark->reviewer, store::ReviewMarks(*db).Reviewer());
    EXPECT_FALSE(shown[1].mark);
    // The History says what the mark was, in words.
    const store::GridRows history = store::History(*db).Rows("");
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history[0][3] + " " + history[0][4] + ": " + history[0][5],
              "added review mark: sample 1, parameter 400-pH, source S, check range");
    EXPECT_NE(history[0][6].find("note checked the bench sheet"), std::string::npos);

    db.reset();
    db = platform::Database::OpenDatabase(testing_support::Location(path));
    EXPECT_EQ(found().size(), 1u) << "the mark is kept";
    db->ExecuteNative("update tblresults set result_value = 72 where sample_code = 1");
    EXPECT_EQ(found().size(), 2u) << "a changed value is looked at again";
    db->ExecuteNative("update tblresults set result_value = 71 where sample_code = 1");

    store::ReviewMarks(*db).Mark(found(true), "both");
    EXPECT_EQ(found().size(), 0u);
    EXPECT_EQ(store::History(*db).Undo(), "marked 2 findings reviewed");
    EXPECT_EQ(found().size(), 1u) << "the first mark stays";
    EXPECT_EQ(store::History(*db).Undo(),
              "marked reviewed: Outside the expected range of sample S 1, parameter 400");
    EXPECT_EQ(found().size(), 2u);
}

TEST_F(ReviewChecks, ALoginThatMayOnlyReadRunsTheChecksButRecordsNoReview) {
    if (!testing_support::OnServer()) GTEST_SKIP() << "a server's logins";
    Sample("S", 1, 1, 1);
    Numeric("S", 1, 400, 71);
    testing_support::ReadOnlyLogin login(*db, testing_support::Location(path), "review_reader");
    const std::string& location = login.Location();
    {
        auto reader = platform::Database::OpenDatabase(location);
        const auto findings = store::Review(*reader).Findings({});
        ASSERT_EQ(findings.size(), 2u);  // the limits and pH 71
        try {
            store::ReviewMarks(*reader).Mark(findings, "no");
            ADD_FAILURE() << "marked";
        } catch (const store::Refused& e) {
            EXPECT_EQ(std::string(e.what()).rfind("This login may not record reviews", 0), 0u);
        }
        reader->ExecuteNative("select 1");  // the connection is still good
    }
    EXPECT_EQ(testing_support::QueryValue(*db, "select count(*) from tblresult_review"), "0");
    EXPECT_FALSE(db->TableExists("tblchange_journal"));
}
