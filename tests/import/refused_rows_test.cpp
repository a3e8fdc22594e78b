// The refused rows saved for the lab: a CSV file that reads back as the rows were.
#include <gtest/gtest.h>

#include <fstream>

#include "CsvReader.h"
#include "EngineSupport.h"
#include "ImportReview.h"

namespace {

using Fields = std::vector<std::string>;

// Unquoted, a tab or semicolon in the first line would pass for the separator and a
// leading byte order mark would be dropped; as the header and as the first row.
TEST(RefusedRows, ReadBackAsTheyWereWhateverTheyHold) {
    const Fields rows[] = {{"a\tb\tc", "1"},
                           {"x;y;z", ""},
                           {"\xEF\xBB\xBF"
                            "code",
                            "2"},
                           {"say \"hi\"", "a,b", "two\r\nlines", " blank "}};
    testing_support::TempDir dir;
    const std::string file = dir.file("refused.csv");
    for (const Fields& row : rows) {
        import::ImportReview review;
        import::CheckedRow refused;
        refused.mark = import::Mark::Refused;
        refused.reason = "unknown parameter \"x\"";
        review.Row(2, row, refused);
        for (const bool header : {false, true}) {
            review.SaveRefused(file, header ? row : Fields{});
            std::ifstream in(file, std::ios::binary);
            import::CsvReader reader(in);
            std::vector<Fields> back;
            for (Fields record; reader.Next(record);) back.push_back(record);
            Fields written = row;
            written.push_back(refused.reason);
            Fields names = row;
            names.push_back("reason");
            const auto expected =
                header ? std::vector<Fields>{names, written} : std::vector<Fields>{written};
            EXPECT_EQ(back, expected) << testing_support::ReadFile(file);
        }
    }
}

}  // namespace
