// The locate query: its exact text for each search field, and what it finds in a file.
#include <gtest/gtest.h>

#include "LoaderTestSupport.h"
#include "SampleLocate.h"

using loader::SampleLocateSql;
using loader::SampleSearch;
using platform::DateTime;

namespace {

const DateTime kNow{2024, 6, 15, 12, 0, 0};
const std::string kBase = "Select * from tblsample where idloc = 'V' ";

// A search with nothing chosen: both pickers on today.
SampleSearch Blank() {
    SampleSearch s;
    s.startDate = kNow;
    s.endDate = kNow;
    return s;
}

}  // namespace

TEST(SampleLocateSql, EachFieldAddsItsPiece) {
    struct Case {
        const char* name;
        void (*set)(SampleSearch&);
        const char* piece;
    };
    const Case cases[] = {
        {"nothing", [](SampleSearch&) {}, ""},
        {"sample number", [](SampleSearch& s) { s.sampleNumber = "12"; }, " and sample_code = 12"},
        {"start date alone is that day",
         [](SampleSearch& s) { s.startDate = {2024, 6, 10, 16, 20, 0}; },
         " and month(start_date) = '6' and day(start_date) = '10' and year(start_date) = '2024'"},
        {"start just over a day ago",
         [](SampleSearch& s) { s.startDate = {2024, 6, 14, 11, 59, 59}; },
         " and month(start_date) = '6' and day(start_date) = '14' and year(start_date) = '2024'"},
        {"start exactly a day ago does not count",
         [](SampleSearch& s) { s.startDate = {2024, 6, 14, 12, 0, 0}; }, ""},
        {"end within the last day leaves the single day",
         [](SampleSearch& s) {
             s.startDate = {2003, 1, 5, 0, 0, 0};
             s.endDate = {2024, 6, 14, 13, 0, 0};
         },
         " and month(start_date) = '1' and day(start_date) = '5' and year(start_date) = '2003'"},
        {"start and end give a range at midnight",
         [](SampleSearch& s) {
             s.startDate = {2024, 6, 10, 0, 0, 0};
             s.endDate = {2024, 6, 12, 0, 0, 0};
         },
         " and start_date between #6/10/2024# and #6/12/2024#"},
        {"range keeps times that are not midnight",
         [](SampleSearch& s) {
             s.startDate = {2004, 1, 9, 9, 30, 0};
             s.endDate = {2004, 11, 12, 17, 5, 0};
         },
         " and start_date between #1/9/2004 9:30:00 AM# and #11/12/2004 5:05:00 PM#"},
        {"end alone does not count", [](SampleSearch& s) { s.endDate = {2003, 1, 1, 0, 0, 0}; },
         ""},
        {"one-letter comment does not count", [](SampleSearch& s) { s.comment = "a"; }, ""},
        {"nor one letter of two bytes", [](SampleSearch& s) { s.comment = "\u00e9"; }, ""},
        {"comment", [](SampleSearch& s) { s.comment = "ab"; }, " and comment like '*ab*' "},
        {"comment with a quote", [](SampleSearch& s) { s.comment = "O'Brien"; },
         " and comment like '*O''Brien*' "},
        {"comment wildcards are literal", [](SampleSearch& s) { s.comment = "a*b?c[d"; },
         " and comment like '*a[*]b[?]c[[]d*' "},
        {"depth", [](SampleSearch& s) { s.depth = "2.5"; }, " and sample_depth = 2.5 "},
        {"depth that is not a number", [](SampleSearch& s) { s.depth = "deep"; }, ""},
        {"project", [](SampleSearch& s) { s.project = "P1"; }, " and project_code = 'P1' "},
        {"project with a quote", [](SampleSearch& s) { s.project = "O'K"; },
         " and project_code = 'O''K' "},
        {"station", [](SampleSearch& s) { s.station = "12"; }, " and station_id = 12 "},
        {"sample type", [](SampleSearch& s) { s.sampleType = "G"; }, " and sample_type = 'G' "},
        {"composite statistic", [](SampleSearch& s) { s.compositeStatistic = "A"; },
         " and composite_statistic_code = 'A' "},
        {"medium", [](SampleSearch& s) { s.medium = "W"; }, " and medium = 'W' "},
    };
    for (const auto& c : cases) {
        SampleSearch s = Blank();
        c.set(s);
        const auto sql = SampleLocateSql(s, kNow);
        ASSERT_TRUE(sql.has_value()) << c.name;
        EXPECT_EQ(*sql, kBase + c.piece) << c.name;
    }
}

TEST(SampleLocateSql, PiecesComeInFieldOrder) {
    SampleSearch s;
    s.sampleNumber = "7";
    s.startDate = {2004, 2, 3, 0, 0, 0};
    s.endDate = {2004, 2, 4, 0, 0, 0};
    s.comment = "rain";
    s.depth = "1";
    s.project = "BRW";
    s.station = "103";
    s.sampleType = "I";
    s.compositeStatistic = "M";
    s.medium = "W";
    EXPECT_EQ(SampleLocateSql(s, kNow).value(),
              kBase +
                  " and sample_code = 7 and start_date between #2/3/2004# and #2/4/2004# and "
                  "comment like '*rain*'  and sample_depth = 1  and project_code = 'BRW'  and "
                  "station_id = 103  and sample_type = 'I'  and composite_statistic_code = 'M'  "
                  "and medium = 'W' ");
}

TEST(SampleLocateSql, NumbersThatCannotMatchGiveNoQuery) {
    for (const char* number : {"abc", "1.5", "12a"}) {
        SampleSearch s = Blank();
        s.sampleNumber = number;
        EXPECT_FALSE(SampleLocateSql(s, kNow).has_value()) << number;
    }
    // The station of an entry without a code ("-") or a code that is not whole.
    for (const char* station : {"", "1a", "2.5"}) {
        SampleSearch s = Blank();
        s.station = station;
        EXPECT_FALSE(SampleLocateSql(s, kNow).has_value()) << station;
    }
}

namespace {

class LocateQueryOnFile : public loader_test::LoaderTest {
  protected:
    std::vector<long long> Found(const SampleSearch& s) {
        std::vector<long long> codes;
        auto rs = db->OpenRecordset(SampleLocateSql(s, DateTime::now()).value());
        for (; !rs->Eof(); rs->MoveNext())
            codes.push_back(rs->Fields("sample_code").Value().toInteger());
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    void AddSample(int code, const std::string& start, const std::string& comment) {
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, project_code, station_id, "
            "start_date, missing_time, comment) values ('V', " +
            std::to_string(code) + ", '8', 101, '" + start + "', 'N', " +
            platform::SqlQuote(comment) + ")");
    }
};

}  // namespace

TEST_F(LocateQueryOnFile, CommentsAreMatchedAsTyped) {
    // Each comment that a search should find has a near miss beside it.
    int code = 20;
    for (const char* comment :
         {"Met O'Brien at the bridge", "pH 7* on the meter", "pH 75 on the meter", "100% cloud",
          "1000 cloud", "pipe a_b", "pipe axb", "see [note]", "see n"})
        AddSample(code++, "2005-01-01 10:00:00", comment);
    struct Case {
        const char* typed;
        std::vector<long long> found;
    };
    const Case cases[] = {{"O'Brien", {20}}, {"7*", {21}},     {"0%", {23}},
                          {"a_b", {25}},     {"[note]", {27}}, {"Light rain", {3}}};
    for (const auto& c : cases) {
        SampleSearch s = Blank();
        s.startDate = s.endDate = DateTime::now();
        s.comment = c.typed;
        EXPECT_EQ(Found(s), c.found) << c.typed;
    }
}

TEST_F(LocateQueryOnFile, ASingleDayFindsEveryTimeOfThatDay) {
    AddSample(30, "2003-07-03 23:59:59", "before");
    AddSample(31, "2003-07-04 00:00:00", "midnight");
    AddSample(32, "2003-07-04 23:59:00", "late");
    AddSample(33, "2003-07-05 00:00:00", "after");
    SampleSearch s;
    s.startDate = {2003, 7, 4, 15, 0, 0};
    s.endDate = DateTime::now();
    EXPECT_EQ(Found(s), (std::vector<long long>{31, 32}));
}
