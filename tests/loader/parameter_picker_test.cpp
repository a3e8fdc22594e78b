// The parameter list of the "Results" tab: the short list, every parameter, and the search
// by part of the full name.
#include <gtest/gtest.h>

#include "ResultsTabSupport.h"

using loader_test::Choose;
using loader_test::Entries;
using loader_test::Sorted;

namespace {

class ParameterPicker : public loader_test::LoaderTest {
  protected:
    std::vector<std::string> Codes(const platform::ComboBox& list) {
        std::vector<std::string> codes;
        for (const auto& e : Entries(list)) codes.push_back(platform::LookupCode(e).value_or(e));
        return Sorted(codes);
    }
};

}  // namespace

TEST_F(ParameterPicker, TheBoxSwitchesBetweenEveryParameterAndTheShortList) {
    auto& f = Open();
    const auto shortList = Sorted(Entries(f.cmbParameter));
    ASSERT_EQ(shortList.size(), 10u);
    ASSERT_TRUE(Choose(f.cmbParameter, "400"));

    f.Check13.SetValue(1);
    const auto all = Entries(f.cmbParameter);
    EXPECT_EQ(all.size(), 39u);
    EXPECT_EQ(all.front(), "10-Temp");
    EXPECT_EQ(all.back(), "71900-Hg");
    EXPECT_EQ(f.cmbParameter.ListIndex(), -1);

    ASSERT_TRUE(Choose(f.cmbParameter, "71900"));
    f.Check13.SetValue(0);
    EXPECT_EQ(Sorted(Entries(f.cmbParameter)), shortList);
    EXPECT_EQ(f.cmbParameter.ListIndex(), -1);
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ParameterPicker, FindListsTheParametersWhoseFullNameHoldsTheText) {
    db->ExecuteNative("insert into TBLParameter_Codes values (99001, 'ONI', 'O''Neil index')");
    auto& f = Open();
    f.Check13.SetValue(1);
    // No codes: nothing matches, and list, selection and text stay. '%' and '_' are plain
    // characters; "a_b" would match "carbonate" were '_' a wildcard.
    struct Case {
        const char* typed;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {"OXYGEN", {"300", "310", "340"}},
        {"phosph", {"665", "671"}},
        {"(suspended", {"530"}},
        {"Nitro*total", {"600", "610", "625"}},
        {"O'Neil", {"99001"}},
        {"zzz", {}},
        {"100%", {}},
        {"a_b", {}},
        {"O'Brien", {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Choose(f.cmbParameter, Codes(f.cmbParameter).front())) << c.typed;
        const auto before = Entries(f.cmbParameter);
        const int selected = f.cmbParameter.ListIndex();
        f.txtparameterFind.SetText(c.typed);
        f.cmdParameterFind_Click();
        if (c.codes.empty()) {
            EXPECT_EQ(Entries(f.cmbParameter), before) << c.typed;
            EXPECT_EQ(f.cmbParameter.ListIndex(), selected) << c.typed;
        } else {
            EXPECT_EQ(Codes(f.cmbParameter), Sorted(c.codes)) << c.typed;
            EXPECT_EQ(f.cmbParameter.ListIndex(), -1) << c.typed;
        }
        EXPECT_EQ(f.txtparameterFind.Text(), c.typed);
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}
