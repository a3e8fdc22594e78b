#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace controls {

// The cells of a flexible grid (grids reach a million rows, so no per-cell objects): every
// cell's characters in one text, each cell a place and a length in it, row-major. Grid row 0 is the
// fixed header row: the view shows it as its horizontal header, so model row i is grid row i +
// headerRows().
class FlexGridModel : public QAbstractTableModel {
  public:
    FlexGridModel(long long rows, int cols, int fixedRows, int fixedCols,
                  QObject* parent = nullptr);

    long long rows() const { return rows_; }
    int cols() const { return cols_; }
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    long long headerRows() const { return fixedRows_ > 0 ? 1 : 0; }

    std::string_view cell(long long row, int col) const {
        const Cell& c = cells_[static_cast<size_t>(row * cols_ + col)];
        return {text_.data() + c.offset, c.size};
    }
    void setCell(long long row, int col, std::string_view text);

    void setRows(long long rows);
    // Takes out `count` rows from `first` on (none of them the header row).
    void eraseRows(long long first, long long count);
    void setCols(int cols);
    void setFixedRows(int rows);
    void setFixedCols(int cols);

    // Appends rows, each its cells in column order; cells beyond the columns are dropped.
    void appendRows(std::vector<std::vector<std::string>>&& rows);
    // The same, each row one line of tab-separated cells.
    void appendLines(const std::vector<std::string_view>& lines);
    // Rows kept out of the view's sight until showStaged adds them all in one update, or
    // dropStaged forgets them; no rows may be added, removed or reordered meanwhile.
    void stageRow(const std::vector<std::string>& cells);
    void showStaged();
    void dropStaged();

    // The first row below the fixed ones that is not the classic blank row 1.
    long long firstDataRow() const;
    // Sorts the data rows by a column: as numbers when every filled cell is one, else as
    // dates when every filled cell is one, else as text without regard to case. Blank cells
    // go last; equal keys keep their order.
    void sortRows(int col, bool ascending);

    // The whole grid: each cell followed by a tab, each row by a line feed.
    std::string clipText() const;

    // Between grid rows and model indexes; the header row has no model index.
    QModelIndex indexFor(long long row, int col) const;
    long long gridRow(const QModelIndex& index) const { return index.row() + headerRows(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    struct Cell {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };

    bool isFixed(long long row, int col) const { return row < fixedRows_ || col < fixedCols_; }
    // Appends the characters to the text and returns the cell that refers to them.
    Cell store(std::string_view text);
    template <class Rows>
    void append(const Rows& rows);
    template <class Row>
    void stage(const Row& cells);
    // Drops the characters of cells overwritten or cut off, once they are many.
    void compactIfWasteful();
    void compact();

    std::vector<Cell> cells_;
    std::string text_;
    size_t unused_ = 0;     // characters of text_ no cell refers to
    long long staged_ = 0;  // rows stored after the last one the view knows of
    long long rows_;
    int cols_;
    int fixedRows_;
    int fixedCols_;
};

}  // namespace controls
