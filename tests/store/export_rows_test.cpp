// The export's reads, on a file made from the schema and a few samples.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Conversions.h"
#include "Database.h"
#include "EngineSupport.h"
#include "ExportRows.h"

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

// Each kind is read once for the range and walked alongside the samples: by sample code,
// then parameter code, whatever order the rows were stored in. A sample without rows of
// its own is passed over; an "S" sample's rows are never taken.
TEST_F(ExportRowsTest, EachKindIsWalkedAlongsideTheSamplesInCodeOrder) {
    const std::string rowsSql =
        "('V', 40000, 10), ('V', 25, 7), ('V', 3, 300), ('S', 3, 5), "
        "('V', 3, 10), ('V', 1, 95), ('V', 3, 95), ('V', 2, 4)";
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, start_date) values "
        "('V', 25, '2003-06-02')");
    // Each kind leaves out one parameter of the first, so no kind passes for another.
    db->ExecuteNative("insert into tblresults (idloc, sample_code, parameter_code) values " +
                      rowsSql);
    const std::vector<std::string> leftOut = {"", ":95", ":10"};
    for (const auto& [table, parameter] :
         {std::pair{"tblresults_val_nonnumeric", "95"}, {"tblreplicates", "10"}})
        db->ExecuteNative(std::string("insert into ") + table +
                          " (idloc, sample_code, parameter_code) select idloc, sample_code, "
                          "parameter_code from tblresults where parameter_code <> " +
                          parameter);
    const Lines later = {"3:10", "3:95", "3:300", "25:7", "40000:10"};
    Lines all = {"1:95", "2:4"};
    all.insert(all.end(), later.begin(), later.end());
    store::ExportRows rows(*db);
    for (const auto& [range, expected] :
         {std::pair{ExportRange{true}, all}, {ExportRange{}, later}}) {
        auto& samples = rows.Samples(range);
        const std::vector<store::ExportStream*> kinds = {&rows.Results(), &rows.NonNumeric(),
                                                         &rows.Replicates()};
        std::vector<Lines> taken(kinds.size());
        while (samples.Next()) {
            const std::string code = rows.SampleCode();
            for (size_t k = 0; k < kinds.size(); ++k)
                for (; kinds[k]->AtSample(code); kinds[k]->Next()) {
                    std::string parameter;
                    kinds[k]->AppendField(2, parameter);
                    taken[k].push_back(code + ":" + parameter);
                }
        }
        for (size_t k = 0; k < kinds.size(); ++k) {
            Lines want;
            for (const std::string& line : expected)
                if (k == 0 || !line.ends_with(leftOut[k])) want.push_back(line);
            EXPECT_EQ(taken[k], want) << range.all << " kind " << k;
        }
    }
}
