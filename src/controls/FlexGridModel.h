#pragma once

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The cells of a flexible grid: one flat row-major store of strings (grids reach hundreds of
// thousands of rows, so no per-cell objects). Grid row 0 is the fixed header row: the view
// shows it as its horizontal header, so model row i is grid row i + headerRows().
class FlexGridModel : public QAbstractTableModel {
  public:
    FlexGridModel(long long rows, int cols, int fixedRows, int fixedCols,
                  QObject* parent = nullptr);

    long long rows() const { return rows_; }
    int cols() const { return cols_; }
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    long long headerRows() const { return fixedRows_ > 0 ? 1 : 0; }

    const std::string& cell(long long row, int col) const {
        return cells_[static_cast<size_t>(row * cols_ + col)];
    }
    void setCell(long long row, int col, const std::string& text);

    void setRows(long long rows);
    void setCols(int cols);
    void setFixedRows(int rows);
    void setFixedCols(int cols);

    // Appends rows, each its cells in column order; cells beyond the columns are dropped.
    void appendRows(std::vector<std::vector<std::string>>&& rows);
    // The same, each row one line of tab-separated cells.
    void appendLines(const std::vector<std::string_view>& lines);

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
    bool isFixed(long long row, int col) const { return row < fixedRows_ || col < fixedCols_; }

    std::vector<std::string> cells_;
    long long rows_;
    int cols_;
    int fixedRows_;
    int fixedCols_;
};

}  // namespace platform
