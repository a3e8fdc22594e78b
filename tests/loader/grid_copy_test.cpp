// The grids' "Copy": the whole grid on the clipboard, every cell followed by a tab and every
// row by a line feed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "App.h"
#include "FlexGridModel.h"
#include "ViewerTestSupport.h"

using Strings = std::vector<std::string>;

namespace {

// Clipboard lines from cells written with '|' between them.
std::string Lines(const Strings& rows) {
    std::string out;
    for (auto row : rows) {
        std::replace(row.begin(), row.end(), '|', '\t');
        out += row + "\t\n";
    }
    return out;
}

class GridCopy : public loader_test::LoaderTest {
  protected:
    std::string Copied(platform::MenuItem& item) {
        platform::Clipboard::SetText("before");
        item.Trigger();
        return platform::Clipboard::GetText();
    }
};

}  // namespace

TEST_F(GridCopy, TheProjectGridCopiesWithItsBlankRowAndEmptyCells) {
    auto& f = Open();
    const std::string copied = Copied(f.mnucopyprojects);
    EXPECT_TRUE(copied.starts_with(
        Lines({"Code|Program/Project|Organization|Study Area|Purpose|Start Date|End Date|Contact "
               "Name|Contact Phone",
               "||||||||",
               "8|Statewide Ambient Monitoring Network|State Department of Environmental "
               "Quality|Statewide|Long-term trends in surface water quality|1/1/1998||Dana "
               "Whitfield|(555) 201-4410"})))
        << copied;
    EXPECT_TRUE(copied.ends_with(
        "\n" + Lines({"VSW|Volunteer Stream Watch||Urban streams|Citizen monitoring and "
                      "education|4/1/2003||Sam Becker|"})))
        << copied;
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 2 + 6);
    EXPECT_EQ(copied.find('\r'), std::string::npos);
}

TEST_F(GridCopy, AHeaderOnlyGridIsOneLineAndEachMenuCopiesItsOwnGrid) {
    auto& f = Open();
    f.cmdSamples_Click();
    f.MSFlexGrid3.SetRows(1);
    EXPECT_EQ(Copied(f.mnucopysample),
              "Sample Code\tProject Code\tStation ID\tStart Date\tMissing Time\tEnd "
              "Date\tMedium\tSample Type\tComposite Statistic Code\tSample "
              "Depth\tComment\tIDLoc\t\n");

    f.cmdFindStation_Click();
    const std::string stations = Copied(f.MnuCopyStations);
    EXPECT_EQ(std::count(stations.begin(), stations.end(), '\n'), 2 + 12);
    EXPECT_TRUE(stations.ends_with(
        "\n" + Lines({"112|41.4979|-111.8163|3|EPA4900784||ST-112||Little Bear River near "
                      "Paradise|River|153|16010203|River|Little Bear River|16010203-0012||Y|"})))
        << stations.substr(stations.size() - 200);

    // A fresh result grid: the empty header and blank rows still copy.
    EXPECT_EQ(Copied(f.mnucopyresult), std::string(9, '\t') + "\n" + std::string(9, '\t') + "\n");
}

TEST_F(GridCopy, EveryRowOfALongGridIsCopied) {
    auto& f = Open();
    f.cmdLoadResult_Click();
    f.MSFlexGrid4.SetRows(2);
    const long long n = 70000;
    Strings lines;
    std::string expected =
        Lines({"Sample Code|Parameter Code|Result Value|Remark Code|Grade|"
               "Comments|IDLOC|Project Code|Start Date",
               "||||||||"});
    for (long long i = 0; i < n; ++i) {
        lines.push_back(std::to_string(i) + "\t10\t" + std::to_string(i % 97));
        expected += lines.back() + std::string(7, '\t') + "\n";
    }
    f.MSFlexGrid4.AddItems(lines);
    ASSERT_EQ(f.MSFlexGrid4.Rows(), 2 + n);
    EXPECT_EQ(Copied(f.mnucopyresult), expected);
}

TEST_F(GridCopy, OnlyTheRightButtonOpensAGridsMenu) {
    auto& f = Open();
    f.Show();
    const std::pair<platform::MSFlexGrid*, platform::Menu*> grids[] = {
        {&f.MSFlexGrid1, &f.MnuCopyStation},
        {&f.MSFlexGrid2, &f.mnucopyproject},
        {&f.MSFlexGrid3, &f.mnuCopySamples},
        {&f.MSFlexGrid4, &f.mnuCopyResults}};
    for (const auto& [grid, menu] : grids) {
        for (int button : {1, 4}) {
            grid->MouseUp(button, 0, 300, 300);
            EXPECT_FALSE(menu->menu()->isVisible()) << grid->Name() << " button " << button;
        }
        grid->MouseUp(2, 0, 300, 300);
        EXPECT_TRUE(menu->menu()->isVisible()) << grid->Name();
        menu->menu()->close();
    }
}

TEST_F(GridCopy, TheMenuKeyOpensTheCopyMenuAtTheCellAndARightClickAtThePointer) {
    auto& f = Open();
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    f.SSTab1.SetTab(0);
    auto& grid = f.MSFlexGrid2;
    QTableView* view = grid.view();
    QWidget* cells = view->viewport();
    QMenu* menu = f.mnucopyproject.menu();
    auto cellAt = [&](long long row, int col) {
        return cells->mapToGlobal(view->visualRect(grid.model().indexFor(row, col)).center());
    };
    // The pointer rests away from the cell the keyboard is on.
    QTest::mouseMove(cells, cells->mapFromGlobal(cellAt(6, 1)));
    grid.SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    grid.SetRow(3);
    grid.SetCol(2);

    QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, view->mapToGlobal(QPoint()));
    QApplication::sendEvent(QApplication::focusWidget(), &key);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), cellAt(3, 2));
    platform::Clipboard::SetText("before");
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }));
    EXPECT_EQ(platform::Clipboard::GetText(), grid.ClipText());

    // The mouse: only the right button's release, at the pointer, on the header row too.
    for (const QPoint at :
         {cellAt(6, 1), view->horizontalHeader()->viewport()->mapToGlobal(QPoint(30, 5))}) {
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
    EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(3LL, 2));
}
