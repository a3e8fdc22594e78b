// The keyboard alone: Tab walks each tab's controls in reading order, each once, and gets
// out of every grid; Ctrl+PageDown and Ctrl+PageUp change the tab from anywhere in it; Alt
// opens the menus; a screen reader names each field by its label; Help shows guide and About.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTextBlock>
#include <QTextBrowser>
#include <string>
#include <vector>

#include "Version.h"
#include "Walk.h"
#include "frmDataLoader.h"

using namespace e2e;
using Names = std::vector<std::string>;

namespace {

class Keyboard : public Walk {
  protected:
    // The innermost control that holds the focus (a date box's editor counts as the box; the
    // tab strip as the tab control).
    std::string focused(loader::frmDataLoader& f) {
        QWidget* w = QApplication::focusWidget();
        std::string name = "?";
        for (auto* c : f.Controls())
            if (w && (c->widget() == w || c->widget()->isAncestorOf(w))) name = c->Name();
        return name;
    }
    // The controls Tab visits from `start` until the focus comes back to it; a control that
    // takes several presses (the parts of a date) is named once.
    Names tabRound(loader::frmDataLoader& f, controls::Control& start) {
        start.SetFocus();
        EXPECT_TRUE(WaitFor([&] { return start.widget()->hasFocus(); })) << start.Name();
        Names visited{start.Name()};
        for (int presses = 0; presses < 60; ++presses) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const std::string now = focused(f);
            if (now == start.Name()) return visited;
            if (now != visited.back()) visited.push_back(now);
        }
        ADD_FAILURE() << "Tab never came back to " << start.Name();
        return visited;
    }
};

}  // namespace

TEST_F(Keyboard, TabWalksEachTabInReadingOrderAndLeavesTheGrids) {
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());

    EXPECT_EQ(tabRound(*f, f->cmbProject_Code),
              (Names{"cmbProject_Code", "cmbStation_id",  "Check11",
                     "cmbMedium",       "CMBSample_Type", "CmbComposite_Statistic",
                     "txtSample_Depth", "txtcomment",     "DTPicker2",
                     "DTPicker1",       "Check1",         "Check2",
                     "CmdAddSample",    "cmdClear",       "cmdExitSample",
                     "txtSampleNum",    "cmdLocate",      "cmdPreviousRecord",
                     "cmdNextRecord",   "SSTab1"}));

    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "Results"));
    EXPECT_EQ(
        tabRound(*f, f->txtResultSampleNum),
        (Names{"txtResultSampleNum", "DTPicker5",        "cmdFindSample",    "Check13",
               "cmdParameterFind",   "txtparameterFind", "cmbParameter",     "txtResult_value",
               "cmbRemark_code",     "TXTGrade",         "txtCommentResult", "Check3",
               "cmdClearResults",    "cmdExitResult",    "cmdPlotSample",    "cmdLocateResults",
               "cmdPrevResult",      "cmdNextResult",    "MSFlexGrid5",      "SSTab1"}));

    // Each browsing tab: its filters, its button, its grid, and out again.
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Project"));
    EXPECT_EQ(tabRound(*f, f->MSFlexGrid2), (Names{"MSFlexGrid2", "SSTab1"}));
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Station"));
    EXPECT_EQ(tabRound(*f, f->chkProjectStation),
              (Names{"chkProjectStation", "ChkLocationStation", "ChkWaterStation", "cmdFindStation",
                     "MSFlexGrid1", "SSTab1"}));
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Samples"));
    EXPECT_EQ(tabRound(*f, f->Check10), (Names{"Check10", "Check9", "Check8", "Check7",
                                               "cmdSamples", "MSFlexGrid3", "SSTab1"}));
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Results"));
    EXPECT_EQ(tabRound(*f, f->TxtSampleNumber),
              (Names{"TxtSampleNumber", "Check4", "Check5", "Check6", "cmdLoadResult",
                     "MSFlexGrid4", "SSTab1"}));
}

TEST_F(Keyboard, CtrlPageKeysChangeTheTabFromAnyControlAndCtrlTabIsLeftToTheMainWindow) {
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    auto& tabs = f->SSTab1;
    auto from = [&](controls::Control& control) {
        control.SetFocus();
        EXPECT_TRUE(WaitFor([&] { return focused(*f) == control.Name(); })) << control.Name();
    };

    ASSERT_NO_FATAL_FAILURE(ClickTab(tabs, "Sample"));
    from(f->DTPicker1);
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageDown, Qt::ControlModifier));
    EXPECT_EQ(tabs.TabCaption(tabs.Tab()), "View Station");
    EXPECT_EQ(focused(*f), "SSTab1");
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageUp, Qt::ControlModifier));
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageUp, Qt::ControlModifier));
    EXPECT_EQ(tabs.TabCaption(tabs.Tab()), "View Project");

    from(f->MSFlexGrid2);
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageUp, Qt::ControlModifier));
    EXPECT_EQ(tabs.TabCaption(tabs.Tab()), "View Results");
    from(f->TxtSampleNumber);
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_PageDown, Qt::ControlModifier));
    EXPECT_EQ(tabs.TabCaption(tabs.Tab()), "View Project");

    ASSERT_NO_FATAL_FAILURE(ClickTab(tabs, "Results"));
    from(f->TXTGrade);
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(tabs.TabCaption(tabs.Tab()), "Results");
}

TEST_F(Keyboard, AltDOpensTheDataMenuWhoseCaptionsReadWithoutTheirMnemonics) {
    auto& main = app::MainWindow();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window()));
    QTest::keyClick(main.window(), Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([&] { return main.mnuData.menu()->isVisible(); }));
    QTest::keyClick(main.mnuData.menu(), Qt::Key_Escape);
    EXPECT_EQ(main.mnuData.Caption(), "Data");
    EXPECT_EQ(main.mnuAdd.Caption(), "View or Add Data");
}

TEST_F(Keyboard, AScreenReaderNamesEachFieldByItsLabel) {
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    const std::pair<controls::Control*, const char*> fields[] = {
        {&f->txtResult_value, "Result Value"},
        {&f->CmbComposite_Statistic, "Composite Statistic"},
        {&f->DTPicker2, "Start Date"},
        {&f->MSFlexGrid4, "Results"},
    };
    for (const auto& [field, name] : fields) {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(field->widget());
        ASSERT_NE(reader, nullptr) << field->Name();
        EXPECT_EQ(reader->text(QAccessible::Name).toStdString(), name) << field->Name();
    }
    EXPECT_EQ(static_cast<QLabel*>(f->Label6.widget())->buddy(), f->txtResult_value.widget());
}

TEST_F(Keyboard, HelpShowsTheReadmeAndAboutTheVersionsAndDataFile) {
    auto& main = app::MainWindow();
    main.mnuUserGuide.Trigger();
    auto* guide = main.window()->findChild<QTextBrowser*>("UserGuide");
    ASSERT_NE(guide, nullptr);
    const QTextBlock first = guide->document()->firstBlock();
    EXPECT_EQ(first.text().toStdString(), "Data Loader");
    EXPECT_EQ(first.blockFormat().headingLevel(), 1);

    main.mnuAbout.Trigger();
    const auto shown = Shown();
    ASSERT_EQ(shown.size(), 1u);
    for (const std::string& part :
         {std::string(DATALOADER_VERSION), std::string(sqlite3_libversion()),
          store::DataShown(store::requireDb())})
        EXPECT_NE(shown[0].find(part), std::string::npos) << part << " not in " << shown[0];
}
