// The grids' "Copy" menus: the whole grid on the clipboard, opened by the right button or
// the menu key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "App.h"
#include "FlexGridModel.h"
#include "ViewerTestSupport.h"

using GridCopy = loader_test::ViewerTest;

// Each grid's Copy puts that grid, not another, on the clipboard; only the right button
// opens its menu.
TEST_F(GridCopy, EachCopyTakesItsOwnGridAndOnlyTheRightButtonOpensTheMenu) {
    auto& f = Open();
    f.Show();
    f.cmdFindStation_Click();
    f.cmdSamples_Click();
    f.cmdLoadResult_Click();
    const std::pair<controls::MSFlexGrid*, controls::MenuItem*> grids[] = {
        {&f.MSFlexGrid1, &f.MnuCopyStations},
        {&f.MSFlexGrid2, &f.mnucopyprojects},
        {&f.MSFlexGrid3, &f.mnucopysample},
        {&f.MSFlexGrid4, &f.mnucopyresult}};
    for (const auto& [grid, copy] : grids) {
        controls::Clipboard::SetText("before");
        copy->Trigger();
        EXPECT_EQ(controls::Clipboard::GetText(), grid->ClipText()) << grid->Name();
    }
    for (int button : {1, 4}) f.MSFlexGrid3.MouseUp(button, 0, 300, 300);
    EXPECT_FALSE(f.mnuCopySamples.menu()->isVisible());
}

TEST_F(GridCopy, TheMenuKeyOpensTheCopyMenuAtTheCellAndARightClickAtThePointer) {
    auto& f = Open();
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    f.SSTab1.SetTab(loader::tab::ViewProject);
    auto& grid = f.MSFlexGrid2;
    QTableView* view = grid.view();
    QWidget* cells = view->viewport();
    QMenu* menu = f.mnucopyproject.menu();
    auto cellAt = [&](long long row, int col) {
        return cells->mapToGlobal(view->visualRect(grid.model().indexFor(row, col)).center());
    };
    // The pointer rests away from the cell the keyboard is on.
    QTest::mouseMove(cells, cells->mapFromGlobal(cellAt(3, 1)));
    grid.SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    grid.SetRow(2);
    grid.SetCol(2);

    QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, view->mapToGlobal(QPoint()));
    QApplication::sendEvent(QApplication::focusWidget(), &key);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), cellAt(2, 2));
    controls::Clipboard::SetText("before");
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }));
    EXPECT_EQ(controls::Clipboard::GetText(), grid.ClipText());

    // The mouse: only the right button's release, at the pointer, on the header row too.
    for (const QPoint at :
         {cellAt(3, 1), view->horizontalHeader()->viewport()->mapToGlobal(QPoint(30, 5))}) {
        QWidget* under = QApplication::widgetAt(at);
        ASSERT_NE(under, nullptr);
        const QPoint local = under->mapFromGlobal(at);
        QTest::mouseMove(under, local);
        QTest::mousePress(under, Qt::RightButton, {}, local);
        QApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
        QTest::mouseRelease(under, Qt::RightButton, {}, local);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        EXPECT_EQ(menu->pos(), at);
        menu->close();
    }
    EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(2LL, 2));
}

// "Save as CSV" writes the header and data rows quoted as the export quotes; the count under
// the grid follows its fills and cut-backs.
TEST_F(GridCopy, SaveAsCsvWritesTheGridAndTheCountFollowsIt) {
    auto& f = Open();
    auto& grid = f.MSFlexGrid2;
    EXPECT_EQ(f.lblRowCount2.Caption(), "2 rows");
    grid.SetTextMatrix(2, 1, "a \"b\", c");
    dialogs->files.push_back(dir.file("projects.csv"));
    f.mnusavecsv2.Trigger();
    std::string expected;
    for (long long r : {0LL, 2LL, 3LL}) {
        std::string line = loader_test::RowText(grid, r);
        std::replace(line.begin(), line.end(), '|', ',');
        expected += line + "\r\n";
    }
    const std::string quoted = "\"a \"\"b\"\", c\"";
    expected.replace(expected.find("a \"b\", c"), 8, quoted);
    EXPECT_EQ(testing_support::ReadFile(dir.file("projects.csv")), expected);
    grid.SetRows(2);
    EXPECT_EQ(f.lblRowCount2.Caption(), "0 rows");
}
