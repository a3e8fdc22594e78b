// The export's reads, without files or windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Conversions.h"
#include "ExportFixture.h"
#include "ExportRows.h"
#include "Recordset.h"
#include "RowStream.h"
#include "StatementCache.h"

using namespace export_test;
using store::ExportRange;
using Lines = std::vector<std::string>;

TEST_F(ExportTest, ARangeTakesTheHandEnteredSamplesStartingAfterIt) {
    const std::vector<std::pair<ExportRange, Lines>> cases = {
        {ExportRange{true}, {"1", "2", "3", "4", "40000"}},
        {ExportRange{}, {"3", "4", "40000"}},                // not sample 2, at midnight of the day
        {{false, {2003, 5, 22, 9, 30, 0}}, {"4", "40000"}},  // nor one at the very second
        {{false, {2003, 5, 21}}, {"2", "3", "4", "40000"}},
        {{false, {2010, 1, 1}}, {}},
    };
    store::ExportRows rows(*db);
    for (const auto& [range, codes] : cases) {
        Lines taken;
        for (auto& samples = rows.Samples(range); samples.Next();)
            taken.push_back(rows.SampleCode());
        EXPECT_EQ(taken, codes) << range.all << " " << platform::DateToText(range.from);
        EXPECT_EQ(rows.CountSamples(range), static_cast<long long>(codes.size()));
    }
}

TEST_F(ExportTest, EachReadIsPreparedOnceWhateverTheNumberOfSamples) {
    db->ExecuteNative(
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
        "INSERT INTO tblsample (idloc, sample_code, start_date) SELECT 'V', i, '2005-01-01' FROM "
        "n");
    auto fresh = platform::Database::OpenDatabase(db->Name());
    exporter::ExportData(*fresh, ExportRange{true}, Targets("a"));
    EXPECT_EQ(fresh->statements().prepareCount(), 4);  // the samples, and three per sample
    exporter::ExportData(*fresh, ExportRange{}, Targets("b"));
    EXPECT_EQ(fresh->statements().prepareCount(), 5);  // only the dated samples are new
}

// A streamed value has the text a recordset gives it, for every kind of column and value.
TEST_F(ExportTest, StreamedTextMatchesTheRecordsetsText) {
    db->ExecuteNative(R"sql(
CREATE TABLE kinds (id INTEGER, flag BOOLEAN, day DATETIME, amount REAL, note TEXT, raw);
INSERT INTO kinds VALUES
 (1, 1, '2001-02-03 04:05:06', 1.5, 'x', NULL), (2, 0, 'not a date', 1e20, '', 3),
 (3, NULL, 20010203, -0.000012345, 'a,b', 2.75), (4, 7, '2001-02-03', 123456789012345678, '"q"',
 x'4142'), (5, 1, 12.5, 0.1, '12', 'text');
)sql");
    for (const std::string source : {"kinds", "select * from tblsample", "tblresults"}) {
        auto rs = db->OpenRecordset(source);
        platform::RowStream rows(*db);
        rows.Open(source);
        for (; rows.Next(); rs->MoveNext()) {
            ASSERT_FALSE(rs->Eof()) << source;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                std::string text;
                rows.AppendText(rows.FieldIndex(rs->FieldName(i)), text);
                EXPECT_EQ(text, rs->Value(i).toText()) << source << " " << rs->FieldName(i);
            }
        }
        EXPECT_TRUE(rs->Eof()) << source;
    }
}
