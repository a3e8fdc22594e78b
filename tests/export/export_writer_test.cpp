#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CsvExport.h"
#include "ExportFixture.h"
#include "Recordset.h"
#include "RowStream.h"
#include "StatementCache.h"

using namespace export_test;
using exporter::ExportData;
using exporter::ExportRange;

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"plain text", "plain text"},
        {" padded ", " padded "},
        {"'single'", "'single'"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"cr\ronly", "\"cr\ronly\""},
        {"tab\there", "tab\there"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(exporter::CsvField(text), field) << text;
}

TEST_F(ExportTest, FromADateWritesTheFourFilesByteForByte) {
    const auto t = Targets();
    const auto n = ExportData(*db, ExportRange{}, t);
    EXPECT_EQ(Read(t), ExpectedFromDefaultDate());
    EXPECT_EQ(n.samples, 3);
    EXPECT_EQ(n.results, 4);
    EXPECT_EQ(n.nonNumeric, 2);
    EXPECT_EQ(n.replicates, 1);
}

TEST_F(ExportTest, AllRecordsTakesEveryHandEnteredSample) {
    const auto t = Targets();
    ExportData(*db, ExportRange{true}, t);
    EXPECT_EQ(Read(t), ExpectedAll());
}

TEST_F(ExportTest, TheDayBoundaryIsStrictlyAfterItsMidnight) {
    // From 5/22/2003 9:30 exactly: sample 3 starts at that second and is left out too.
    ExportRange range;
    range.from = {2003, 5, 22, 9, 30, 0};
    auto t = Targets("a");
    ExportData(*db, range, t);
    EXPECT_EQ(testing_support::ReadFile(t.sample).substr(0, 4), "V,4,");

    range.from = {2003, 5, 21};
    t = Targets("b");
    ExportData(*db, range, t);
    EXPECT_EQ(testing_support::ReadFile(t.sample).substr(0, 4), "V,2,");
}

TEST_F(ExportTest, NothingToExportStillWritesEveryFileEmpty) {
    ExportRange range;
    range.from = {2010, 1, 1};
    const auto t = Targets();
    Seed(t);
    EXPECT_EQ(ExportData(*db, range, t).samples, 0);
    EXPECT_EQ(Read(t), (Files{}));
    EXPECT_EQ(Listing(dir.path() / "out").size(), 4u);
}

TEST_F(ExportTest, EachShapeIsPreparedOnceWhateverTheNumberOfSamples) {
    for (int code = 100; code < 400; ++code)
        db->ExecuteNative("INSERT INTO tblsample (idloc, sample_code, start_date) VALUES ('V', " +
                          std::to_string(code) + ", '2005-01-01');");
    auto fresh = platform::Database::OpenDatabase(db->Name());
    ExportData(*fresh, ExportRange{true}, Targets("a"));
    // The sample set and the three per-sample queries.
    EXPECT_EQ(fresh->statements().prepareCount(), 4);
    ExportData(*fresh, ExportRange{}, Targets("b"));
    EXPECT_EQ(fresh->statements().prepareCount(), 5);  // only the dated sample set is new
}

// The stream reads each value as a recordset would and gives the same classic text, for
// every kind of column and stored value.
TEST_F(ExportTest, StreamedTextMatchesTheRecordsetsText) {
    db->ExecuteNative(R"sql(
CREATE TABLE kinds (id INTEGER, flag BOOLEAN, day DATETIME, amount REAL, note TEXT, raw);
INSERT INTO kinds VALUES
 (1, 1, '2001-02-03 04:05:06', 1.5, 'x', NULL),
 (2, 0, 'not a date', 1e20, '', 3),
 (3, NULL, 20010203, -0.000012345, 'a,b', 2.75),
 (4, 7, '2001-02-03', 123456789012345678, '"q"', x'4142'),
 (5, 1, 12.5, 0.1, '12', 'text');
)sql");
    const std::vector<std::string> sources = {
        "kinds", "select * from tblsample", "select * from tblresults",
        "select * from tblresults_val_nonnumeric", "select * from tblreplicates"};
    for (const std::string& source : sources) {
        auto rs = db->OpenRecordset(source);
        platform::RowStream rows(*db);
        rows.Open(source);
        int count = 0;
        while (rows.Next()) {
            ASSERT_FALSE(rs->Eof()) << source;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                std::string text;
                rows.AppendText(rows.FieldIndex(rs->FieldName(i)), text);
                EXPECT_EQ(text, rs->Value(i).toText())
                    << source << " row " << count << " " << rs->FieldName(i);
            }
            rs->MoveNext();
            ++count;
        }
        EXPECT_TRUE(rs->Eof()) << source;
        EXPECT_GT(count, 0) << source;
    }
}

TEST_F(ExportTest, AQueryThatFailsWritesNothing) {
    db->ExecuteNative("DROP TABLE tblreplicates;");
    const auto t = Targets();
    Seed(t);
    try {
        ExportData(*db, ExportRange{}, t);
        FAIL() << "the export went through";
    } catch (const exporter::ExportError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("The data could not be read: ", 0), 0u) << e.what();
        EXPECT_FALSE(e.Cancelled());
    }
    EXPECT_EQ(Read(t), Seeded());
    EXPECT_EQ(Listing(dir.path() / "out").size(), 4u);
}
