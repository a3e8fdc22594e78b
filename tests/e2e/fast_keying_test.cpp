// A day's sheet keyed without the mouse: the sample found, twenty results of every kind
// keyed with Tab and Enter, each in the grid at once; and the program asks before a result
// typed and not stored is lost with it.
#include <gtest/gtest.h>

#include <QApplication>

#include "Walk.h"
#include "frmDataLoader.h"

using namespace e2e;

namespace {

class FastKeying : public Walk {
  protected:
    // Presses Tab until the focus is in `control`.
    void TabTo(const controls::Control& control) {
        for (int presses = 0; presses < 30; ++presses) {
            QWidget* focus = QApplication::focusWidget();
            if (focus && (focus == control.widget() || control.widget()->isAncestorOf(focus)))
                return;
            ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
        }
        FAIL() << "Tab never reached " << control.Name();
    }
};

}  // namespace

TEST_F(FastKeying, ATwentyResultSheetIsKeyedWithTheKeyboardAlone) {
    std::string parameters = "insert into TBLParameter_Codes values (2001, 'P1', 'Param 1')";
    for (int p = 2002; p <= 2016; ++p) parameters += ", (" + std::to_string(p) + ", 'P', 'Param')";
    Execute(parameters);
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());

    // Sample 1, found from its number; then every parameter listed.
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageDown, Qt::ControlModifier));
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageDown, Qt::ControlModifier));
    ASSERT_NO_FATAL_FAILURE(TabTo(f->txtResultSampleNum));
    ASSERT_NO_FATAL_FAILURE(Keys(f->txtResultSampleNum, "1"));
    ASSERT_NO_FATAL_FAILURE(TabTo(f->cmdFindSample));
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Return));
    ASSERT_EQ(f->lblCode.Caption(), "1");
    ASSERT_NO_FATAL_FAILURE(TabTo(f->Check13));
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Space));
    ASSERT_NO_FATAL_FAILURE(TabTo(f->cmbParameter));

    // Most results: parameter, Tab, value, Enter. One with a remark, grade and comment runs
    // down the whole entry to the add button; one is a replicate, ticked on the way.
    std::vector<std::string> codes = {"10", "95", "300", "400"};
    for (int p = 2001; p <= 2016; ++p) codes.push_back(std::to_string(p));
    for (size_t i = 0; i < codes.size(); ++i) {
        const std::string value = i == 5 ? "TNTC" : std::to_string(i + 1) + ".5";
        ASSERT_NO_FATAL_FAILURE(Keys(f->cmbParameter, codes[i]));
        ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
        ASSERT_NO_FATAL_FAILURE(Keys(f->txtResult_value, value));
        if (i == 1 || i == 2) {
            for (const auto& [box, text] :
                 {std::pair<controls::Control*, const char*>{&f->cmbRemark_code, "J"},
                  {&f->TXTGrade, "A"},
                  {&f->txtCommentResult, "field"}}) {
                ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
                if (i == 1) {
                    ASSERT_NO_FATAL_FAILURE(Keys(*box, text));
                }
            }
            ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
            if (i == 2) {  // on to "Replicate", ticked, and back to the button
                ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
                ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Space));
                EXPECT_TRUE(f->lblReplicateNote.widget()->isVisible());
                ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab, Qt::ShiftModifier));
            }
        }
        ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Return));
        ASSERT_EQ(f->MSFlexGrid5.Rows(), static_cast<long long>(i) + 2) << codes[i];
    }
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(Value("select count(*) from tblresults where idloc = 'V' and sample_code = 1"), "18");
    EXPECT_EQ(Value("select result_value from tblresults_val_nonnumeric where parameter_code = "
                    "2002"),
              "TNTC");
    EXPECT_EQ(Value("select result_value from tblreplicates where parameter_code = 300"), "3.5");
    EXPECT_EQ(Value("select remark_code || grade || comments from tblresults where idloc = 'V' "
                    "and parameter_code = 95"),
              "JAfield");
    EXPECT_EQ(f->Check3.Value(), 0);

    // A row clicked, then the one below it by the arrow key, is loaded for correction.
    ASSERT_NO_FATAL_FAILURE(ClickCell(f->MSFlexGrid5, 1, 3));
    EXPECT_EQ(f->txtResult_value.Text(), "1.5");
    EXPECT_EQ(f->cmdAddResult.Caption(), "Update");
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Down));
    EXPECT_EQ(f->txtResult_value.Text(), "2.5");
}

TEST_F(FastKeying, TheProgramAsksBeforeATypedResultIsLost) {
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    f->txtResult_value.SetText("12");
    auto& main = app::MainWindow();
    dialogs->answers = {controls::mb::No, controls::mb::No};
    main.MnuExit_Click();
    main.window()->close();
    EXPECT_TRUE(main.window()->isVisible());
    EXPECT_EQ(Shown(), (Texts(2, "The result typed has not been stored.\n\nDiscard it?")));
    EXPECT_THROW(main.MnuExit_Click(), controls::ProgramEnded);
}
