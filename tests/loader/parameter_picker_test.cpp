// The parameter list of the "Results" tab: the short list, every parameter, and the search
// by part of the full name.
#include <gtest/gtest.h>

#include "ResultsTabSupport.h"

using loader_test::Pick;

namespace {

class ParameterPicker : public loader_test::ResultsTest {
  protected:
    std::vector<std::string> Codes(const controls::ComboBox& list) {
        std::vector<std::string> codes;
        for (int i = 0; i < list.ListCount(); ++i) codes.push_back(list.ItemCode(i).value_or(""));
        return loader_test::Sorted(codes);
    }
};

}  // namespace

TEST_F(ParameterPicker, TheBoxSwitchesBetweenEveryParameterAndTheShortList) {
    auto& f = Open();
    const std::vector<std::string> shortList = {"10", "300", "95"};
    ASSERT_EQ(Codes(f.cmbParameter), shortList);
    f.Check13.SetValue(1);
    EXPECT_EQ(Codes(f.cmbParameter), (std::vector<std::string>{"10", "300", "400", "95", "99001"}));
    ASSERT_TRUE(Pick(f.cmbParameter, "400"));
    f.Check13.SetValue(0);
    EXPECT_EQ(Codes(f.cmbParameter), shortList);
    EXPECT_EQ(f.cmbParameter.ListIndex(), -1);
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ParameterPicker, FindListsTheParametersWhoseFullNameHoldsTheText) {
    auto& f = Open();
    // The box's hint is no text to search for.
    EXPECT_EQ(f.txtparameterFind.Text(), "");
    EXPECT_EQ(f.txtparameterFind.Placeholder(), "Full Name");
    // No codes: nothing matches, and list and selection stay. '%' and '_' are plain
    // characters; "n_e" would match "Oxygen, dissolved" were '_' a wildcard.
    struct Case {
        const char* typed;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {"OXYGEN", {"300"}}, {"con", {"95"}}, {"Oxy*sol", {"300"}}, {"O'Neil", {"99001"}},
        {"zzz", {}},         {"100%", {}},    {"n_e", {}},          {"O'Brien", {}},
    };
    for (const auto& c : cases) {
        f.Check13.SetValue(1);
        ASSERT_TRUE(Pick(f.cmbParameter, "10")) << c.typed;
        f.txtparameterFind.SetText(c.typed);
        f.cmdParameterFind_Click();
        if (c.codes.empty()) {
            EXPECT_EQ(Codes(f.cmbParameter).size(), 5u) << c.typed;
            EXPECT_EQ(loader_test::SelectedOf(f.cmbParameter), "10") << c.typed;
        } else {
            EXPECT_EQ(Codes(f.cmbParameter), c.codes) << c.typed;
            EXPECT_EQ(f.cmbParameter.ListIndex(), -1) << c.typed;
        }
        f.Check13.SetValue(0);
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}
