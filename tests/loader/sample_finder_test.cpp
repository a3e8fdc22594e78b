// The "Results" tab's sample finder: by number or by day, the header it fills and the steps
// through the samples found.
#include <gtest/gtest.h>

#include "ResultsTabSupport.h"
#include "SampleFinder.h"

using loader_test::Header;
using loader_test::HeaderOf;
using platform::DateTime;

namespace {

const std::string kStatewide = "8-Statewide Ambient Monitoring Network";
const Header kFour{"4",
                   "LKM-Lake Monitoring Program",
                   "105-Clear Lake Deep Station",
                   "2/18/2004 1:45:00 PM",
                   "W-Water",
                   "G-Grab",
                   "0.5"};

class SampleFinder : public loader_test::LoaderTest {
  protected:
    void Find(loader::frmDataLoader& f, const std::string& number) {
        f.txtResultSampleNum.SetText(number);
        f.cmdFindSample_Click();
    }
    void FindDay(loader::frmDataLoader& f, const DateTime& day) {
        f.txtResultSampleNum.SetText("");
        f.DTPicker5.SetValue(day);
        f.cmdFindSample_Click();
    }
    // Step buttons: whether Previous and Next are enabled.
    std::pair<bool, bool> Steps(const loader::frmDataLoader& f) {
        return {f.cmdPrevious.Enabled(), f.cmdNext.Enabled()};
    }
};

}  // namespace

TEST(SampleFinderSql, TheNumberAsTypedOrThePlainNumbersOfTheDay) {
    const DateTime day{2004, 3, 4, 10, 30, 0};
    EXPECT_EQ(loader::SampleFinderSql("17", day),
              "select * from tblsample where sample_code = 17 and idloc = 'V'");
    EXPECT_EQ(loader::SampleFinderSql("", day),
              "select * from tblsample where month(start_date) = '3' and day(start_date)  = '4' "
              "and year(start_date)  = '2004' and idloc = 'V'");
    EXPECT_EQ(loader::SampleFinderSql("17; drop table tblsample", day), std::nullopt);
}

TEST_F(SampleFinder, ADayFindsEveryTimeOfItAndStepsWalkThem) {
    db->ExecuteNative(
        "insert into tblsample values "
        "('S', 900, '8', 101, '2004-01-14 08:00:00', 'N', NULL, 'W', 'G', NULL, NULL, NULL),"
        "('V', 6, '8', 101, '2004-01-14 23:59:59', 'N', NULL, 'W', 'G', 2.5, NULL, NULL),"
        "('V', 7, '8', 101, '2004-01-15 00:00:00', 'N', NULL, 'W', 'G', NULL, NULL, NULL),"
        "('V', 8, '8', 101, '2004-01-13 23:59:59', 'N', NULL, 'W', 'G', NULL, NULL, NULL)");
    auto& f = Open();
    FindDay(f, {2004, 1, 14, 6, 0, 0});
    EXPECT_EQ(f.lblCode.Caption(), "1");
    EXPECT_EQ(Steps(f), std::make_pair(true, true));

    // Only sample 6 has a depth; the samples without one leave it on show.
    struct Step {
        bool next;
        const char* shows;
        const char* message;  // "" for none
        const char* depth;
    };
    const Step steps[] = {
        {true, "2", "", ""},
        {true, "6", "", "2.5"},
        {true, "6", "No More Records", "2.5"},
        {false, "6", "", "2.5"},
        {false, "2", "", "2.5"},
        {false, "1", "", "2.5"},
        {false, "1", "No Previous Record", "2.5"},
        {true, "1", "", "2.5"},
        {true, "2", "", "2.5"},
    };
    int n = 0;
    for (const auto& s : steps) {
        dialogs->clear();
        s.next ? f.cmdNext_Click() : f.cmdPrevious_Click();
        EXPECT_EQ(f.lblCode.Caption(), s.shows) << "step " << n;
        EXPECT_EQ(f.lblDepth.Caption(), s.depth) << "step " << n;
        if (*s.message)
            EXPECT_EQ(dialogs->texts(), std::vector<std::string>{s.message}) << "step " << n;
        else
            EXPECT_TRUE(dialogs->prompts.empty()) << "step " << n;
        EXPECT_EQ(Steps(f), std::make_pair(true, true)) << "step " << n;
        ++n;
    }
    EXPECT_EQ(f.lblDate.Caption(), "1/14/2004 11:15:00 AM");
    // Steps leave the day picker on the sample the search found.
    EXPECT_EQ(f.DTPicker5.Value(), (DateTime{2004, 1, 14, 9, 30, 0}));
}

TEST_F(SampleFinder, ANumberShowsItsSampleAndAMissOrBadNumberLeavesHeaderAndButtons) {
    auto& f = Open();
    f.cmdNext_Click();
    f.cmdPrevious_Click();
    EXPECT_EQ(dialogs->texts(),
              (std::vector<std::string>{"No More Records", "No Previous Record"}));
    // Sample 100 exists only in the other source.
    auto expectKept = [&](const Header& header, bool steps) {
        for (const char* number : {"99", "100", "abc", "1.5", " ", "2x"}) {
            dialogs->clear();
            Find(f, number);
            EXPECT_EQ(dialogs->prompts.size(), platform::IsWholeNumber(number) ? 0u : 1u)
                << '"' << number << '"';
            EXPECT_EQ(HeaderOf(f), header) << '"' << number << '"';
            EXPECT_EQ(Steps(f), std::make_pair(steps, steps)) << '"' << number << '"';
        }
    };
    expectKept(Header{}, false);
    Find(f, "4");
    EXPECT_EQ(HeaderOf(f), kFour);
    EXPECT_EQ(f.DTPicker5.Value(), (DateTime{2004, 2, 18, 13, 45, 0}));
    expectKept(kFour, true);
    dialogs->clear();
    FindDay(f, {2004, 1, 1, 12, 0, 0});
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(HeaderOf(f), kFour);
    f.cmdNext_Click();  // the search found nothing to step to
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"No More Records"});
    EXPECT_EQ(HeaderOf(f), kFour);

    // The other source has a sample 1 too (project 8, station 102); sample 1 has no depth.
    Find(f, " 1 ");
    EXPECT_EQ(HeaderOf(f), (Header{"1", kStatewide, "109-Logan River at Canyon Mouth",
                                   "1/14/2004 9:30:00 AM", "W-Water", "G-Grab", "0.5"}));
}

TEST_F(SampleFinder, NullDescriptionsShowTheCodeAndAMissingOneStopsTheDisplay) {
    db->ExecuteNative(
        "insert into tblprojects_programs (project_code) values ('NUL');"
        "insert into tblsample_type values ('X', NULL);"
        "insert into tblsample values "
        "('V', 6, 'NUL', 101, '2004-05-01 00:00:00', 'N', NULL, 'W', 'X', 2, NULL, NULL),"
        "('V', 7, '8', 102, '2004-05-02 10:00:00', 'N', NULL, 'Z', 'G', 3, NULL, NULL)");
    const Header six{"6",  "NUL-", "101-Bear River at Highway 30 Bridge", "5/1/2004", "W-Water",
                     "X-", "2"};
    auto& f = Open();
    // The medium 'Z' has no description row.
    Find(f, "7");
    EXPECT_EQ(HeaderOf(f), (Header{"7", kStatewide, "102-Bear River near Corinne",
                                   "5/2/2004 10:00:00 AM", "Z", "", ""}));
    EXPECT_EQ(f.DTPicker5.Value(), (DateTime{2004, 5, 2, 10, 0, 0}));
    EXPECT_EQ(Steps(f), std::make_pair(false, false));

    Find(f, "6");
    EXPECT_EQ(HeaderOf(f), six);
    EXPECT_EQ(Steps(f), std::make_pair(true, true));

    Find(f, "7");
    EXPECT_EQ(HeaderOf(f), (Header{"7", kStatewide, "102-Bear River near Corinne",
                                   "5/2/2004 10:00:00 AM", "Z", "X-", "2"}));
    EXPECT_TRUE(dialogs->prompts.empty());
}
