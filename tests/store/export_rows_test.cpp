// The export's reads, on a file made from the schema and a few samples.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Conversions.h"
#include "Database.h"
#include "EngineSupport.h"
#include "ExportRows.h"
#include "StatementCache.h"

using store::ExportRange;
using Lines = std::vector<std::string>;

namespace {

// Sample 2 starts at midnight of the default "From" day, sample 3 later that day; an "S"
// sample shares code 3 with a hand-entered one.
class ExportRowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("water.db"));
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, start_date) values "
            "('V', 1, '2002-12-31 08:00:00'), ('V', 2, '2003-05-22 00:00:00'), "
            "('V', 3, '2003-05-22 09:30:00'), ('V', 4, '2003-06-01 13:05:09'), "
            "('V', 40000, '2004-01-14'), ('S', 3, '2003-07-01 10:00:00')");
    }
    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(ExportRowsTest, ARangeTakesTheHandEnteredSamplesStartingAfterIt) {
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

// Each read is prepared once whatever the number of samples.
TEST_F(ExportRowsTest, EachReadIsPreparedOnceWhateverTheNumberOfSamples) {
    SKIP_ON_SERVER();
    db->ExecuteNative(
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
        "INSERT INTO tblsample (idloc, sample_code, start_date) SELECT 'V', i, '2005-01-01' FROM "
        "n");
    auto fresh = platform::Database::OpenDatabase(db->Name());
    store::ExportRows rows(*fresh);
    auto readAll = [&](const ExportRange& range) {
        for (auto& samples = rows.Samples(range); samples.Next();) {
            const std::string code = rows.SampleCode();
            for (auto* s : {&rows.Results(code), &rows.NonNumeric(code), &rows.Replicates(code)})
                while (s->Next()) {
                }
        }
    };
    readAll(ExportRange{true});
    EXPECT_EQ(fresh->statements().prepareCount(), 4);  // the samples, and three per sample
    readAll(ExportRange{});
    EXPECT_EQ(fresh->statements().prepareCount(), 5);  // only the dated samples are new
}
