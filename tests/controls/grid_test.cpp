#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "App.h"
#include "CommandButton.h"
#include "EngineError.h"
#include "FlexGridModel.h"
#include "Form.h"
#include "MSFlexGrid.h"
#include "TestSupport.h"

using namespace controls;
using testing_support::ErrorNumber;

namespace {

class GridForm : public Form {
  public:
    GridForm()
        : Form("frmGrid", "Grid"),
          // A browse grid as the windows build it: header row 0, blank row 1, one fixed column.
          MSFlexGrid1(*this, "MSFlexGrid1", 2, 3, 1, 1, {120, 120, 7000, 3600}),
          Command1(*this, "Command1", "OK", {120, 3840, 1500, 450}) {
        SetClientSize(7500, 4500);
        MSFlexGrid1.MouseUp = [this](int button, int shift, int x, int y) {
            ups.push_back({button, shift, x, y});
        };
    }
    struct Up {
        int button, shift, x, y;
    };
    MSFlexGrid MSFlexGrid1;
    CommandButton Command1;
    std::vector<Up> ups;
};

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        form = std::make_unique<GridForm>();
    }
    void writeHeader(const std::vector<std::string>& texts) {
        grid().SetRow(0);
        for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
            grid().SetCol(c);
            grid().SetText(texts[static_cast<size_t>(c)]);
        }
    }
    MSFlexGrid& grid() { return form->MSFlexGrid1; }
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<GridForm> form;
};

}  // namespace

TEST_F(GridTest, AddItemSplitsOnTabs) {
    writeHeader({"Code", "Name", "Date"});
    const std::vector<std::string> lines = {"1\tAlpha\t3/4/2004", "2\tBeta",
                                            "3\tGamma\t1/1/2000\textra", ""};
    for (const auto& line : lines) grid().AddItem(line);
    // Too few cells leave the rest empty; too many are dropped.
    const std::string rows = "1\tAlpha\t3/4/2004\t\n2\tBeta\t\t\n3\tGamma\t1/1/2000\t\n\t\t\t\n";
    EXPECT_EQ(grid().ClipText(), "Code\tName\tDate\t\n\t\t\t\n" + rows);

    // AddItems is the same as one AddItem per line.
    GridForm other;
    other.MSFlexGrid1.AddItems(lines);
    EXPECT_EQ(other.MSFlexGrid1.ClipText(), "\t\t\t\n\t\t\t\n" + rows);
}

TEST_F(GridTest, CutBackToTwoRowsKeepsHeaderAndBlankRow) {
    writeHeader({"Code", "Name", "Date"});
    grid().SetTextMatrix(1, 1, "left over");
    for (int i = 0; i < 50; ++i) grid().AddItem(std::to_string(i) + "\tx\ty");
    grid().SetRows(2);
    EXPECT_EQ(grid().Rows(), 2);
    EXPECT_EQ(grid().TextMatrix(0, 2), "Date");
    EXPECT_EQ(grid().TextMatrix(1, 1), "left over");
    grid().AddItem("new\trow");
    EXPECT_EQ(grid().TextMatrix(2, 0), "new");
    EXPECT_EQ(grid().TextMatrix(2, 2), "");

    // Growing adds empty rows; the grid never shrinks below its fixed rows.
    grid().SetRows(5);
    EXPECT_EQ(grid().TextMatrix(4, 0), "");
    EXPECT_EQ(ErrorNumber([&] { grid().SetRows(0); }), 380);
    EXPECT_EQ(ErrorNumber([&] { MSFlexGrid bad(*form, "bad", 0, 3, 1, 1); }), 380);
    EXPECT_EQ(ErrorNumber([&] { MSFlexGrid bad(*form, "bad", -1, 3, 0, 0); }), 380);
    grid().SetRows(1);
    EXPECT_EQ(grid().ClipText(), "Code\tName\tDate\t\n");
}

// Cells written over many times, longer and shorter, while columns come and go, hold what
// was last written to each and nothing of their neighbours.
TEST_F(GridTest, RewrittenCellsKeepTheirOwnTextOnly) {
    std::vector<std::vector<std::string>> expected(40, std::vector<std::string>(3));
    auto clipOf = [&] {
        std::string text;
        for (const auto& row : expected) {
            for (const auto& cell : row) text += cell + '\t';
            text += '\n';
        }
        return text;
    };
    grid().SetRows(40);
    for (int round = 0; round < 30; ++round) {
        for (int r = 0; r < 40; ++r) {
            const int c = (r + round) % grid().Cols();
            // Lengths rise and fall, so cells are both overwritten in place and moved.
            const std::string text(static_cast<size_t>((r * 7 + round * 13) % 300), 'a' + r % 26);
            grid().SetTextMatrix(r, c, text);
            expected[r][c] = text;
        }
        if (round == 10 || round == 20) {
            const int cols = round == 10 ? 2 : 4;
            grid().SetCols(cols);
            for (auto& row : expected) row.resize(static_cast<size_t>(cols));
        }
        ASSERT_EQ(grid().ClipText(), clipOf()) << "round " << round;
    }
    grid().SetRows(5);
    expected.resize(5);
    EXPECT_EQ(grid().ClipText(), clipOf());
}

TEST_F(GridTest, CurrentCellAndSelection) {
    grid().SetRows(10);
    EXPECT_EQ(grid().Row(), 1);  // the first cell past the fixed ones
    EXPECT_EQ(grid().Col(), 1);
    grid().SetRow(3);
    grid().SetCol(1);
    grid().SetRowSel(7);
    grid().SetCol(1);
    EXPECT_EQ(grid().RowSel(), 7);
    grid().SetColSel(2);
    EXPECT_EQ(grid().Row(), 3);
    EXPECT_EQ(grid().Col(), 1);

    // The view shows the same range.
    QItemSelectionModel* selection = grid().view()->selectionModel();
    EXPECT_EQ(selection->selectedIndexes().size(), 5 * 2);
    EXPECT_TRUE(selection->isSelected(grid().model().indexFor(7, 2)));
    EXPECT_FALSE(selection->isSelected(grid().model().indexFor(8, 2)));
    EXPECT_EQ(selection->currentIndex(), grid().model().indexFor(3, 1));

    // Setting Row collapses RowSel to it, as the classic grid did.
    grid().SetRow(5);
    EXPECT_EQ(grid().RowSel(), 5);
    EXPECT_EQ(grid().ColSel(), 2);
    grid().SetCol(0);
    EXPECT_EQ(grid().ColSel(), 0);
    grid().SetTextMatrix(5, 0, "here");
    EXPECT_EQ(grid().Text(), "here");
    grid().SetText("there");
    EXPECT_EQ(grid().TextMatrix(5, 0), "there");

    // Cutting back pulls the cursor into the grid.
    grid().SetRows(3);
    EXPECT_EQ(grid().Row(), 2);
    EXPECT_EQ(grid().RowSel(), 2);

    EXPECT_EQ(ErrorNumber([&] { grid().SetRow(3); }), 381);
    EXPECT_EQ(ErrorNumber([&] { grid().SetColSel(-1); }), 381);
    EXPECT_EQ(ErrorNumber([&] { grid().TextMatrix(0, 3); }), 381);
}

TEST_F(GridTest, ClipTextByteForByte) {
    // Header only: one line, every cell followed by a tab.
    grid().SetRows(1);
    writeHeader({"Code", "Name", "Date"});
    EXPECT_EQ(grid().ClipText(), "Code\tName\tDate\t\n");

    // The blank row is a line of tabs; empty cells add only their tab; nothing is quoted.
    grid().SetRows(2);
    grid().AddItem("1\t\t\"quoted\"");
    grid().AddItem("2\tsemi;colon");
    grid().SetTextMatrix(3, 2, "in\tside\nbreak");
    EXPECT_EQ(grid().ClipText(),
              "Code\tName\tDate\t\n"
              "\t\t\t\n"
              "1\t\t\"quoted\"\t\n"
              "2\tsemi;colon\tin\tside\nbreak\t\n");

    GridForm empty;
    empty.MSFlexGrid1.SetRows(1);
    EXPECT_EQ(empty.MSFlexGrid1.ClipText(), "\t\t\t\n");
}

// A cell holding a tab or a line break, or starting with a double quote, is copied in double
// quotes with its quotes doubled, so a spreadsheet pasting the text keeps every cell in its
// column; other cells go as they are. The same for a block and for the whole grid.
TEST_F(GridTest, CopiedCellsStayOneCellEach) {
    const std::pair<std::string, std::string> cells[] = {
        {"a\tb", "\"a\tb\""},
        {"first\nsecond", "\"first\nsecond\""},
        {"cr\r\nlf", "\"cr\r\nlf\""},
        {"ends\r", "\"ends\r\""},
        {"\"x\" y", "\"\"\"x\"\" y\""},
        {"\"", "\"\"\"\""},
        {"5\" pipe", "5\" pipe"},
        {"say \"hi\"\tthere", "\"say \"\"hi\"\"\tthere\""},
        {"", ""},
        {"plain, text; <b>", "plain, text; <b>"},
    };
    grid().SetRows(2);
    for (const auto& [cell, copied] : cells) {
        grid().AddItem("");
        const long long row = grid().Rows() - 1;
        grid().SetTextMatrix(row, 1, cell);
        grid().SetTextMatrix(row, 2, "next");
        grid().SetRow(row);
        grid().SetCol(1);
        grid().SetColSel(2);
        grid().CopySelection();
        EXPECT_EQ(Clipboard::GetText(), copied + "\tnext\n") << cell;
    }

    // One cell selected: the whole grid, a row per line, whatever its cells hold.
    grid().SetColSel(1);
    grid().CopySelection();
    std::string all = "\t\t\t\n\t\t\t\n";
    for (const auto& [cell, copied] : cells) all += "\t" + copied + "\tnext\t\n";
    EXPECT_EQ(Clipboard::GetText(), all);
}

TEST_F(GridTest, ModelShowsHeaderRowAndGreyFixedColumn) {
    writeHeader({"Code", "Name", "Date"});
    grid().AddItem("1\tAlpha\t3/4/2004");
    FlexGridModel& model = grid().model();
    EXPECT_EQ(model.rowCount(), 2);  // the blank row and one data row; row 0 is the header
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), "Alpha");
    EXPECT_TRUE(model.data(model.index(1, 0), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(grid().view()->verticalHeader()->isVisibleTo(grid().view()));
    EXPECT_TRUE(grid().view()->horizontalHeader()->isVisibleTo(grid().view()));
    // Columns are wide enough for the header and the first rows.
    EXPECT_GE(grid().view()->columnWidth(2),
              grid().view()->fontMetrics().horizontalAdvance("3/4/2004"));
}

TEST_F(GridTest, MouseSelectsAndReportsButtons) {
    grid().SetRows(8);
    form->Show();
    QTableView* view = grid().view();
    const QPoint from = view->visualRect(grid().model().indexFor(3, 1)).center();
    const QPoint to = view->visualRect(grid().model().indexFor(5, 2)).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, view->viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(grid().Row(), 3);
    EXPECT_EQ(grid().Col(), 1);
    EXPECT_EQ(grid().RowSel(), 5);
    EXPECT_EQ(grid().ColSel(), 2);
    ASSERT_EQ(form->ups.size(), 1u);
    EXPECT_EQ(form->ups[0].button, 1);

    // A right click reports button 2 with the position in twips, and keeps the cell.
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::ShiftModifier, from);
    ASSERT_EQ(form->ups.size(), 2u);
    EXPECT_EQ(form->ups[1].button, 2);
    EXPECT_EQ(form->ups[1].shift, 1);
    const QPoint inView = view->viewport()->mapTo(view, from);
    EXPECT_EQ(form->ups[1].x, inView.x() * 15);
    EXPECT_EQ(form->ups[1].y, inView.y() * 15);
    EXPECT_EQ(grid().RowSel(), 5);
    QTest::mouseClick(view->viewport(), Qt::MiddleButton, {}, from);
    EXPECT_EQ(form->ups.back().button, 4);
}

TEST_F(GridTest, MovingTheCurrentCellFromCodeNeverScrolls) {
    // A header written cell by cell ends on the last column; were the view to follow it, the
    // fixed column would be scrolled out of sight.
    grid().SetCols(12);
    form->Show();
    writeHeader(std::vector<std::string>(12, "A rather long column header"));
    grid().AddItems(std::vector<std::string>(40, "1\tStatewide Ambient Monitoring Network"));
    grid().SetRow(2);
    grid().SetCol(1);
    grid().SetRowSel(grid().Rows() - 1);
    grid().SetColSel(11);
    QApplication::processEvents();
    EXPECT_EQ(grid().view()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid().view()->verticalScrollBar()->value(), 0);
}

TEST_F(GridTest, KeysSelectAllMoveTheCellAndTabLeavesTheGrid) {
    grid().SetRows(5);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->window()));
    QTableView* view = grid().view();
    grid().SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    // Select-all tells the handlers the block it marks: every cell past the fixed ones.
    QTest::keySequence(view, QKeySequence::SelectAll);
    EXPECT_EQ(std::make_tuple(grid().Row(), grid().Col(), grid().RowSel(), grid().ColSel()),
              std::make_tuple(1LL, 1, 4LL, grid().Cols() - 1));
    EXPECT_EQ(view->selectionModel()->selectedIndexes().size(), 4 * (grid().Cols() - 1));
    grid().SetRow(2);
    grid().SetCol(1);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(grid().Row(), 3);
    // A keyboard user must be able to get past a grid to the buttons after it.
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_TRUE(form->Command1.widget()->hasFocus());
    EXPECT_EQ(grid().Row(), 3);
    EXPECT_EQ(grid().Col(), 1);
}

TEST_F(GridTest, TheMenuKeyReportsARightReleaseAtTheCurrentCell) {
    grid().SetRows(8);
    form->Show();
    QApplication::setActiveWindow(form->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->window()));
    QTableView* view = grid().view();
    grid().SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    // Qt sends the menu key's event to the focused widget, with the keys held then.
    auto menuKey = [&](Qt::KeyboardModifiers keys = {}) {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, view->mapToGlobal(QPoint()), keys);
        QApplication::sendEvent(QApplication::focusWidget(), &key);
    };
    auto inTwips = [&](QWidget* from, QPoint p) { return from->mapTo(view, p) * 15; };

    grid().SetRow(4);
    grid().SetCol(2);
    menuKey(Qt::ShiftModifier);
    ASSERT_EQ(form->ups.size(), 1u);
    EXPECT_EQ(form->ups[0].button, 2);
    EXPECT_EQ(form->ups[0].shift, 1);
    const QPoint cell =
        inTwips(view->viewport(), view->visualRect(grid().model().indexFor(4, 2)).center());
    EXPECT_EQ(QPoint(form->ups[0].x, form->ups[0].y), cell);
    EXPECT_EQ(std::make_pair(grid().Row(), grid().Col()), std::make_pair(4LL, 2));

    // The header row is a cell of the grid too.
    grid().SetRow(0);
    menuKey();
    ASSERT_EQ(form->ups.size(), 2u);
    QWidget* header = view->horizontalHeader()->viewport();
    const QPoint onHeader = inTwips(
        header,
        {view->visualRect(grid().model().indexFor(1, 2)).center().x(), header->height() / 2});
    EXPECT_NEAR(form->ups[1].x, onHeader.x(), 15);
    EXPECT_NEAR(form->ups[1].y, onHeader.y(), 15);

    // Shift+F10, the other menu key, as a key press.
    grid().SetRow(4);
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(form->ups.size(), 3u);
    EXPECT_EQ(form->ups[2].button, 2);
    EXPECT_EQ(QPoint(form->ups[2].x, form->ups[2].y), cell);
}

// A header click sorts the data rows by that column's kind, blanks last; again reverses. The
// header row and the blank row 1 stay on top and a row's cells move together.
TEST_F(GridTest, AHeaderClickSortsNumbersDatesAndTextAndAgainReverses) {
    struct Case {
        std::vector<std::string> cells, ascending;
    };
    const Case cases[] = {
        {{"10", "9", "", "2.5", "-1"}, {"-1", "2.5", "9", "10", ""}},
        {{"12/1/2003", "3/4/2004 10:30:00 AM", "1/15/2004", "3/4/2004"},
         {"12/1/2003", "1/15/2004", "3/4/2004", "3/4/2004 10:30:00 AM"}},
        {{"beta", "Gamma", "", "alpha"}, {"alpha", "beta", "Gamma", ""}},
    };
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->window()));
    QHeaderView* header = grid().view()->horizontalHeader();
    const QPoint valueHeader(header->sectionViewportPosition(1) + 5, 5);
    for (const auto& c : cases) {
        grid().SetRows(2);
        writeHeader({"#", "Value", ""});
        for (size_t i = 0; i < c.cells.size(); ++i)
            grid().AddItem(std::to_string(i) + "\t" + c.cells[i]);
        auto column = [&] {
            std::vector<std::string> out;
            for (long long r = 2; r < grid().Rows(); ++r) {
                out.push_back(grid().TextMatrix(r, 1));
                EXPECT_EQ(c.cells[std::stoul(grid().TextMatrix(r, 0))], out.back());
            }
            return out;
        };
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
        EXPECT_EQ(column(), c.ascending);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
        std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        if (descending.front().empty())
            std::rotate(descending.begin(), descending.begin() + 1, descending.end());
        EXPECT_EQ(column(), descending);
        EXPECT_EQ(grid().TextMatrix(0, 1) + grid().TextMatrix(1, 0) + grid().TextMatrix(1, 1),
                  "Value");
    }
}

// Ctrl+C puts the selection as text and as an HTML table a spreadsheet reads cell by cell;
// with one cell selected, the whole grid, laid out as ClipText lays it out.
TEST_F(GridTest, CtrlCCopiesTheSelectionAsTextAndAnHtmlTable) {
    writeHeader({"Code", "Name", "Note"});
    grid().AddItem("1\t<b>Tom & Jerry</b>\t\"x\"");
    grid().AddItem("2\tBeta\t3.5");
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->window()));
    QTableView* view = grid().view();
    grid().SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    auto tableOnClipboard = [] {
        QTextDocument doc;
        doc.setHtml(QApplication::clipboard()->mimeData()->html());
        std::vector<std::vector<std::string>> cells;
        for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
            auto* table = qobject_cast<QTextTable*>(frame);
            if (!table) continue;
            for (int r = 0; r < table->rows(); ++r) {
                auto& row = cells.emplace_back();
                for (int c = 0; c < table->columns(); ++c) {
                    QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
                    cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(),
                                       QTextCursor::KeepAnchor);
                    row.push_back(cursor.selectedText().toStdString());
                }
            }
        }
        return cells;
    };
    grid().SetRow(2);
    grid().SetCol(1);
    grid().SetRowSel(3);
    grid().SetColSel(2);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(Clipboard::GetText(), "<b>Tom & Jerry</b>\t\"\"\"x\"\"\"\nBeta\t3.5\n");
    using Table = std::vector<std::vector<std::string>>;
    EXPECT_EQ(tableOnClipboard(), (Table{{"<b>Tom & Jerry</b>", "\"x\""}, {"Beta", "3.5"}}));

    grid().SetRow(3);
    grid().SetCol(1);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(
        Clipboard::GetText(),
        "Code\tName\tNote\t\n\t\t\t\n1\t<b>Tom & Jerry</b>\t\"\"\"x\"\"\"\t\n2\tBeta\t3.5\t\n");
    const Table all = tableOnClipboard();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], (std::vector<std::string>{"Code", "Name", "Note"}));
    EXPECT_EQ(all[3], (std::vector<std::string>{"2", "Beta", "3.5"}));
}
