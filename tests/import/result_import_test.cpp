// Checking and storing a lab file's results: what each row does, all or nothing, the
// samples made for a station and date, and why a row is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "EngineSupport.h"
#include "History.h"
#include "LabFile.h"
#include "ResultImport.h"

using testing_support::QueryRows;
using testing_support::QueryValue;
using ImportOutcome = import::ImportOutcome;
using ImportSettings = import::ImportSettings;

namespace {

class ResultImport : public ::testing::Test {
  protected:
    void SetUp() override { db = lab::Database(dir.file("lab.db")); }

    ImportOutcome Import(const std::string& text, bool skipRefused = true,
                         import::RowObserver* observer = nullptr) {
        std::istringstream in(text);
        return import::ImportResults(*db, in, settings(text), skipRefused, observer, nullptr);
    }
    ImportOutcome Check(const std::string& text) {
        std::istringstream in(text);
        return import::CheckResults(*db, in, settings(text), nullptr, nullptr);
    }
    // The file's own header maps its columns.
    ImportSettings settings(const std::string& text) {
        std::istringstream in(text);
        ImportSettings s;
        s.map = import::MapOfHeader(in);
        s.newSamples = newSamples;
        s.reading = reading;
        return s;
    }
    // Everything hand-entered, so "nothing written" compares whole tables.
    testing_support::Table All() {
        // Table by table: a server's union wants one type per column.
        testing_support::Table all;
        for (const char* select :
             {"select 'N', sample_code, parameter_code, result_value, remark_code, grade, comments "
              "from tblresults",
              "select 'R', * from tblreplicates",
              "select 'S', idloc, sample_code, station_id, start_date, project_code, "
              "medium || sample_type from tblsample",
              "select 'T', * from tblresults_val_nonnumeric"}) {
            const auto rows = QueryRows(*db, std::string(select) + " order by 2, 3, 4");
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    }
    // The reason a one-row file under the full header is refused for; "" when it is not.
    std::string Refusal(const std::string& row) {
        struct Reason : import::RowObserver {
            bool Row(long long, const std::vector<std::string>&,
                     const import::CheckedRow& r) override {
                text += r.reason;
                return true;
            }
            std::string text;
        } reason;
        std::istringstream in(std::string(lab::kHeader) + "\n" + row + "\n");
        import::CheckResults(*db, in, settings(lab::kHeader), &reason, nullptr);
        return reason.text;
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    import::NewSamples newSamples;
    import::ValueReading reading;
};

TEST_F(ResultImport, StoresALabFileAndReplacesAsKeyingDoes) {
    const import::ImportOutcome done = Import(lab::File("\r\n"));
    ASSERT_TRUE(done.written);
    import::ImportCounts expected;
    expected.stored = {lab::kNumeric, lab::kText, lab::kReplicates};
    expected.replaced = {2, 0, 0};
    expected.refused = lab::kRefused;
    EXPECT_EQ(done.counts, expected);
    EXPECT_EQ(import::CountsText(done.counts),
              "302 numeric results (2 replaced), 2 text results and 1 replicate; 1 row refused");
    EXPECT_EQ(
        QueryRows(*db, "select * from tblresults where sample_code = 1 order by parameter_code"),
        (testing_support::Table{{"V", "1", "10", "18", "", "", ""},
                                {"V", "1", "400", "7.3", "J", "B", "lab, re-run"}}));
    EXPECT_EQ(QueryRows(*db, "select * from tblresults_val_nonnumeric where sample_code = 1"),
              (testing_support::Table{{"V", "1", "300", "<0.5", "<", ""}}));
    EXPECT_EQ(QueryRows(*db, "select * from tblreplicates"),
              (testing_support::Table{{"V", "1", "400", "7.2", "", ""}}));
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults where sample_code = 2"), "300");
    EXPECT_EQ(QueryValue(*db,
                         "select result_value from tblresults_val_nonnumeric "
                         "where sample_code = 2"),
              "n/a");
}

TEST_F(ResultImport, WritesNothingWhenARowIsRefusedOrTheRunIsStopped) {
    const auto before = All();
    const import::ImportOutcome refused = Import(lab::File(), false);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.counts.refused, 1);
    EXPECT_EQ(All(), before);

    struct StopAt : import::RowObserver {
        bool Row(long long line, const std::vector<std::string>&,
                 const import::CheckedRow&) override {
            return line < 200;
        }
    } stop;
    const import::ImportOutcome stopped = Import(lab::File(), true, &stop);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.written);
    EXPECT_EQ(All(), before);

    // The check alone counts what the import does, and writes nothing either.
    const import::ImportCounts checked = Check(lab::File()).counts;
    EXPECT_EQ(checked, Import(lab::File()).counts);
    EXPECT_EQ(Import(lab::File()).counts.replaced[0], 302);
}

TEST_F(ResultImport, RefusesRowsItCannotPlace) {
    const struct {
        const char* row;
        const char* reason;
    } cases[] = {
        {"1,,,400,7,,,,", ""},
        {",999,6/7/2005,400,7,,,,", "unknown station \"999\""},
        {"1,,,pOH,7,,,,", "unknown parameter \"pOH\""},
        {"1,,,400,7,Q,,,", "unknown remark code \"Q\""},
        {"3,,,400,7,,,,", "no hand-entered sample \"3\""},
        {"x,,,400,7,,,,", "no hand-entered sample \"x\""},
        {",101,6/7/2005 2:06:00 PM,400,7,,,,",
         "no hand-entered sample at station 101 on "
         "6/7/2005 2:06:00 PM"},
        {",101,13/45/2005,400,7,,,,", "the start date \"13/45/2005\" is not a date"},
        {"1,,,400,,,,,", "no value"},
        {"1,,,400,7,,,,maybe", "the replicate flag \"maybe\" is neither yes nor no"},
        {"1,,,400,\"1,250\",,,,",
         "\"1,250\" reads as the number 1250, to be stored as the number or as typed"},
        {"1,,,400,\"12,5\",,,,yes",
         "\"12,5\" reads as the number 12.5, to be stored as the number or as typed"},
        {"1,,,400,12 mg/L,,,,",
         "\"12 mg/L\" reads as the number 12, to be stored as the number "
         "or as typed"},
        {"1,,,400,<0.5,<,,,", ""},
        {"1,,,400,TNTC,,,see lab,",
         "a text result keeps no comment, and the comment \"see lab\" would be lost"},
        {"1,,,400,7.2,,,dup,yes",
         "a replicate keeps no comment, and the comment \"dup\" would be lost"},
        {"1,,,400,7.2,,,see lab,", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Refusal(c.row), c.reason) << c.row;

    const std::string twice = std::string(lab::kHeader) + "\n1,,,400,7,,,,\n" +
                              ",101,2005-06-07 14:05,pH,8,,,,\n1,,,400,9,,,,1\n";
    EXPECT_EQ(Import(twice).counts.refused, 1);
    EXPECT_EQ(QueryValue(*db,
                         "select result_value from tblresults where parameter_code = 400 "
                         "and sample_code = 1"),
              "7");
}

TEST_F(ResultImport, FindsTheDecimalMarkTheFileWrites) {
    const struct {
        const char* name;
        std::string text;
        bool comma;
    } cases[] = {
        {"semicolons", "sample_code;parameter_code;result_value\n1;10;12,5\n1;300;3\n", true},
        {"tabs", "sample_code\tparameter_code\tresult_value\n1\t10\t12,5\n", true},
        {"commas", "sample_code,parameter_code,result_value\n1,10,\"12,5\"\n", false},
        {"a point as well", "sample_code;parameter_code;result_value\n1;10;12,5\n1;300;<0.5\n",
         false},
        {"no decimals", "sample_code;parameter_code;result_value\n1;10;12\n", false},
        {"a comma in another column",
         "sample_code;parameter_code;result_value;comments\n1;10;12;pH 7,5\n", false},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        EXPECT_EQ(import::WritesDecimalComma(in, settings(c.text)), c.comma) << c.name;
    }
}

// A lab that writes decimal commas: the numbers stay numbers, the comment stays with its
// number, a limit stays text as written.
TEST_F(ResultImport, StoresDecimalCommaNumbersAsNumbers) {
    db->Execute("insert into tblresults values ('V', 1, 300, 1.4, NULL, NULL, NULL)", {});
    const std::string file =
        "sample_code;parameter_code;result_value;remark_code;grade;comments;replicate\n"
        "1;300;12,5;;A;\"note; x\";\n1;1000;<0,5;<;;;\n1;400;7,25;;;;yes\n";
    std::istringstream in(file);
    reading.decimalComma = import::WritesDecimalComma(in, settings(file));
    const import::ImportOutcome done = Import(file, false);
    ASSERT_TRUE(done.written);
    EXPECT_EQ(import::CountsText(done.counts),
              "1 numeric result (1 replaced), 1 text result and 1 replicate; 0 rows refused");
    EXPECT_EQ(QueryRows(*db, "select * from tblresults where parameter_code = 300"),
              (testing_support::Table{{"V", "1", "300", "12.5", "", "A", "note; x"}}));
    EXPECT_EQ(QueryValue(*db,
                         "select result_value from tblresults_val_nonnumeric "
                         "where parameter_code = 1000"),
              "<0,5");
    EXPECT_EQ(QueryValue(*db, "select result_value from tblreplicates"), "7.25");
    EXPECT_EQ(import::ReplacedText(done),
              "sample 1, parameter 300: the numeric result 1.4 by the numeric result 12.5\n");
}

TEST_F(ResultImport, StoresANumberWrittenOtherwiseOnlyAsChosen) {
    const std::string file = std::string(lab::kHeader) +
                             "\n1,,,300,\"1,250\",,,,\n1,,,1000,12 mg/L,,,,\n"
                             "1,,,1001,\"2,5\",,,,yes\n";
    // Table by table: a server's union wants one type per column.
    auto stored = [&] {
        testing_support::Table all;
        for (const char* select :
             {"select 'N', parameter_code, result_value from tblresults where parameter_code > 10"
              " and parameter_code <> 400",
              "select 'T', parameter_code, result_value from tblresults_val_nonnumeric"
              " where parameter_code > 10",
              "select 'R', parameter_code, result_value from tblreplicates"}) {
            const auto rows = QueryRows(*db, std::string(select) + " order by 2");
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    };
    EXPECT_EQ(Import(file).counts.refused, 3);
    EXPECT_TRUE(stored().empty());

    reading.writtenOtherwise = import::WrittenOtherwise::AsTyped;
    ASSERT_EQ(Import(file).counts.refused, 0);
    EXPECT_EQ(stored(),
              (testing_support::Table{
                  {"T", "300", "1,250"}, {"T", "1000", "12 mg/L"}, {"R", "1001", "2,5"}}));

    reading.writtenOtherwise = import::WrittenOtherwise::AsNumber;
    const import::ImportOutcome asNumbers = Import(file);
    EXPECT_EQ(stored(), (testing_support::Table{
                            {"N", "300", "1250"}, {"N", "1000", "12"}, {"R", "1001", "2.5"}}));
    EXPECT_EQ(import::ReplacedText(asNumbers),
              "sample 1, parameter 300: the text result 1,250 by the numeric result 1250\n"
              "sample 1, parameter 1000: the text result 12 mg/L by the numeric result 12\n"
              "sample 1, parameter 1001: the replicate 2,5 by the replicate 2.5\n");

    // With a decimal comma the point is the thousands mark: a number only written otherwise.
    reading.decimalComma = true;
    reading.writtenOtherwise = import::WrittenOtherwise::Refuse;
    EXPECT_EQ(Refusal("1,,,300,\"1.234,5\",,,,"),
              "\"1.234,5\" reads as the number 1234.5, to be stored as the number or as typed");
    EXPECT_EQ(Refusal("1,,,300,7,,,,"), "");
}

TEST_F(ResultImport, NamesTheFirstReplacementsThenCountsTheRest) {
    ASSERT_TRUE(Import(lab::File()).written);
    const import::ImportOutcome again = Import(lab::File());
    EXPECT_EQ(again.replacements.size(), import::ImportOutcome::kShownReplacements);
    const std::string text = import::ReplacedText(again);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "sample 2, parameter 1000: the numeric result 30.5 by the numeric result 30.5");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "and 285 more\n");
    EXPECT_EQ(import::ReplacedText(Check(std::string(lab::kHeader) + "\n1,,,1000,1,,,,\n")), "");
}

TEST_F(ResultImport, MakesTheSamplesAStationAndDateName) {
    newSamples = {true, "P1", "W", "G"};
    const std::string file = std::string(lab::kHeader) +
                             "\n,102,3/1/2006 10:00:00 AM,400,7,,,,\n"
                             ",102,2006-03-01 10:00:00,300,9,,,,\n,999,3/1/2006,300,9,,,,\n"
                             ",101,3/2/2006,300,9,,,,\n";
    const import::ImportOutcome done = Import(file);
    EXPECT_EQ(done.counts.samplesMade, 2);
    EXPECT_EQ(done.counts.refused, 1);
    EXPECT_EQ(QueryRows(*db,
                        "select sample_code, project_code, station_id, start_date, medium, "
                        "sample_type, missing_time from tblsample where sample_code = 3 "
                        "and idloc = 'V'"),
              (testing_support::Table{{"3", "P1", "102", "3/1/2006 10:00:00 AM", "W", "G", "N"}}));
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults where sample_code = 3"), "2");
    EXPECT_EQ(QueryValue(*db, "select station_id from tblsample where sample_code = 4"), "101");
}

}  // namespace

TEST_F(ResultImport, OneUndoTakesTheWholeImportBackWithTheValuesItReplaced) {
    const auto before = All();
    ASSERT_TRUE(Import(lab::File()).written);
    EXPECT_EQ(store::History(*db).Undo(), "imported results from a lab file");
    EXPECT_EQ(All(), before);
}
