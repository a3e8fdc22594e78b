#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Control.h"

class QMouseEvent;
class QPoint;
class QTableView;

namespace controls {

class FlexGridModel;

// The classic flexible grid. Cells live in one flat store of our own (not one heap item
// per cell). Row 0 is the fixed header row and stays in view while scrolling; fixed
// rows and the fixed column are drawn grey.
class MSFlexGrid : public Control {
  public:
    MSFlexGrid(Container& parent, std::string name, int rows = 2, int cols = 2, int fixedRows = 1,
               int fixedCols = 1, Geometry g = {}, int index = -1);
    ~MSFlexGrid() override;

    long long Rows() const;
    void SetRows(long long rows);  // cuts back or adds empty rows; cells kept where they remain
    // Takes out `count` rows from `row` on, below the fixed rows (the classic RemoveItem, for
    // a block at once); throws 381 for rows outside the grid.
    void RemoveRows(long long row, long long count);
    int Cols() const;
    void SetCols(int cols);
    int FixedRows() const;
    void SetFixedRows(int rows);
    int FixedCols() const;
    void SetFixedCols(int cols);

    // The current cell, and the other end of the selection.
    long long Row() const;
    void SetRow(long long row);  // also collapses RowSel to it, as the classic grid did
    int Col() const;
    void SetCol(int col);  // also collapses ColSel to it
    long long RowSel() const;
    void SetRowSel(long long row);
    int ColSel() const;
    void SetColSel(int col);

    // The cell at Row, Col.
    std::string Text() const;
    void SetText(const std::string& text);
    // The cell with the row-major index row * Cols + col.
    std::string TextArray(long long index) const;
    void SetTextArray(long long index, const std::string& text);
    std::string TextMatrix(long long row, int col) const;
    void SetTextMatrix(long long row, int col, const std::string& text);

    // Appends a row whose cells are separated by tab characters.
    void AddItem(std::string_view line);
    // Appends many rows in one model update (each a tab-separated line).
    void AddItems(const std::vector<std::string>& lines);
    // Appends many rows in one model update, each its cells in column order: a cell's text
    // lands whole in its own cell, tabs and all.
    void AddRows(std::vector<std::vector<std::string>> rows);
    // Rows read one at a time, kept out of view until Show adds them all in one model
    // update; rows not shown by the end are dropped. Cells may be written meanwhile, but
    // no rows added, removed or reordered.
    class RowFill {
      public:
        explicit RowFill(MSFlexGrid& grid) : grid_(grid) {}
        ~RowFill();
        RowFill(const RowFill&) = delete;
        RowFill& operator=(const RowFill&) = delete;
        void Add(const std::vector<std::string>& cells);
        void Show();

      private:
        MSFlexGrid& grid_;
    };

    // The whole grid as text: every cell followed by a tab, every row by a line feed.
    std::string ClipText() const;

    // The selection on the clipboard as tab-separated text and as an HTML table; with no
    // more than one cell selected, the whole grid laid out as ClipText lays it out. Cells
    // holding tabs or line breaks are quoted, so a spreadsheet keeps the columns.
    void CopySelection() const;
    // The data rows: below the fixed ones, the classic blank row 1 not counted.
    long long DataRows() const;
    // "12 rows": what the grid's count label shows.
    std::string RowCountText() const;
    // Sorts the data rows by a column, as a click on its header does; the header row and the
    // blank row 1 stay on top.
    void Sort(int col, bool ascending);
    // The last column takes the room the others leave, so the grid shows no empty band.
    void SetLastColumnFills(bool fills);
    // Raised when the user moves the current cell (a click, an arrow key); moves made from
    // code raise nothing.
    std::function<void()> RowColChange;
    // Raised by a double click on a cell, once it is the current cell.
    std::function<void()> DblClick;
    // Raised whenever rows are added, removed or the grid is reshaped.
    std::function<void()> RowsChanged;

    // Button numbers 1 left, 2 right, 4 middle; position in twips within the grid. The menu
    // key (a keyboard context menu) raises a right-button release at the current cell.
    std::function<void(int button, int shift, int x, int y)> MouseUp;

    FlexGridModel& model() { return *model_; }
    QTableView* view() const { return view_; }

  private:
    void syncSelection();
    void checkCell(long long row, int col) const;  // throws 381 outside the grid
    void clampCursor();
    void fitColumns(long long firstRow, long long lastRow);
    void pressAt(int x, int y, bool extend);
    void raiseMouseUp(QWidget* from, const QMouseEvent& me);
    void raiseMenuKey(int shift);
    QPoint currentCellPoint() const;  // the middle of Row/Col, within the grid's view
    FlexGridModel* model_;
    QTableView* view_;
    long long row_ = 0;
    long long rowSel_ = 0;
    int col_ = 0;
    int colSel_ = 0;
    bool syncing_ = false;   // our own selection updates are not the user's
    bool dragging_ = false;  // left button held in the cells
    int sortCol_ = -1;       // the column last sorted by a header click
    bool sortAscending_ = true;
    std::pair<int, int> headerPress_{-1, 0};  // the column pressed in the header, its width
};

}  // namespace controls
