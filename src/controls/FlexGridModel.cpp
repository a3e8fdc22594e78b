#include "FlexGridModel.h"

#include <QApplication>
#include <QPalette>
#include <QString>
#include <algorithm>
#include <new>
#include <numeric>
#include <utility>

#include "Conversions.h"
#include "QtGlue.h"

namespace controls {

namespace {
QBrush fixedBrush() { return QApplication::palette().brush(QPalette::Button); }
}  // namespace

FlexGridModel::FlexGridModel(long long rows, int cols, int fixedRows, int fixedCols,
                             QObject* parent)
    : QAbstractTableModel(parent),
      cells_(static_cast<size_t>(rows * cols)),
      rows_(rows),
      cols_(cols),
      fixedRows_(fixedRows),
      fixedCols_(fixedCols) {}

FlexGridModel::Cell FlexGridModel::store(std::string_view text) {
    // Places are 32-bit to keep a cell at 8 bytes; no grid a user reads comes near 4 GB.
    if (text_.size() + text.size() > UINT32_MAX) throw std::bad_alloc();
    const Cell c{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size())};
    text_ += text;
    return c;
}

void FlexGridModel::compactIfWasteful() {
    if (unused_ > 4096 && unused_ > text_.size() / 2) compact();
}

void FlexGridModel::compact() {
    std::string kept;
    kept.reserve(text_.size() - unused_);
    for (Cell& c : cells_) {
        const auto offset = static_cast<std::uint32_t>(kept.size());
        kept.append(text_, c.offset, c.size);
        c.offset = offset;
    }
    text_ = std::move(kept);
    unused_ = 0;
}

void FlexGridModel::setCell(long long row, int col, std::string_view text) {
    Cell& cell = cells_[static_cast<size_t>(row * cols_ + col)];
    if (std::string_view(text_.data() + cell.offset, cell.size) == text) return;
    if (text.size() <= cell.size) {
        // Written over its own characters; what is left over is unused.
        text.copy(text_.data() + cell.offset, text.size());
        unused_ += cell.size - text.size();
        cell.size = static_cast<std::uint32_t>(text.size());
    } else {
        unused_ += cell.size;
        cell = store(text);
        compactIfWasteful();
    }
    if (row < headerRows()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex i = indexFor(row, col);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
}

void FlexGridModel::setRows(long long rows) {
    if (rows == rows_) return;
    const long long header = headerRows();
    const long long oldModelRows = std::max(0LL, rows_ - header);
    const long long newModelRows = std::max(0LL, rows - header);
    const bool headerChanges = (rows_ == 0) != (rows == 0);
    if (rows < rows_) {
        if (newModelRows < oldModelRows)
            beginRemoveRows({}, static_cast<int>(newModelRows), static_cast<int>(oldModelRows - 1));
        const auto keep = static_cast<size_t>(rows * cols_);
        for (size_t i = keep; i < cells_.size(); ++i) unused_ += cells_[i].size;
        cells_.resize(keep);
        cells_.shrink_to_fit();
        // A grid cut back gives its memory back at once.
        if (unused_ > 0) compact();
        text_.shrink_to_fit();
        rows_ = rows;
        if (newModelRows < oldModelRows) endRemoveRows();
    } else {
        if (newModelRows > oldModelRows)
            beginInsertRows({}, static_cast<int>(oldModelRows), static_cast<int>(newModelRows - 1));
        cells_.resize(static_cast<size_t>(rows * cols_));
        rows_ = rows;
        if (newModelRows > oldModelRows) endInsertRows();
    }
    if (headerChanges && cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

void FlexGridModel::eraseRows(long long first, long long count) {
    if (count <= 0) return;
    const long long header = headerRows();
    beginRemoveRows({}, static_cast<int>(first - header),
                    static_cast<int>(first + count - 1 - header));
    const auto from = cells_.begin() + static_cast<std::ptrdiff_t>(first * cols_);
    const auto to = from + static_cast<std::ptrdiff_t>(count * cols_);
    for (auto i = from; i != to; ++i) unused_ += i->size;
    cells_.erase(from, to);
    rows_ -= count;
    endRemoveRows();
    compactIfWasteful();
}

void FlexGridModel::setCols(int cols) {
    if (cols == cols_) return;
    beginResetModel();
    std::vector<Cell> reshaped(static_cast<size_t>(rows_ * cols));
    const int keep = std::min(cols, cols_);
    for (long long r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            const Cell& cell = cells_[static_cast<size_t>(r * cols_ + c)];
            if (c < keep)
                reshaped[static_cast<size_t>(r * cols + c)] = cell;
            else
                unused_ += cell.size;
        }
    }
    cells_ = std::move(reshaped);
    cols_ = cols;
    compactIfWasteful();
    endResetModel();
}

void FlexGridModel::setFixedRows(int rows) {
    if (rows == fixedRows_) return;
    beginResetModel();
    fixedRows_ = rows;
    endResetModel();
}

void FlexGridModel::setFixedCols(int cols) {
    if (cols == fixedCols_) return;
    fixedCols_ = cols;
    if (rowCount() > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, cols_ - 1), {Qt::BackgroundRole});
}

void FlexGridModel::appendLines(const std::vector<std::string_view>& lines) {
    std::vector<std::vector<std::string_view>> rows;
    rows.reserve(lines.size());
    for (std::string_view line : lines) {
        auto& cells = rows.emplace_back();
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            cells.push_back(line.substr(start, tab - start));
            if (tab == std::string_view::npos) break;
            start = tab + 1;
        }
    }
    append(rows);
}

void FlexGridModel::appendRows(std::vector<std::vector<std::string>>&& rows) {
    append(rows);
    // The caller's copies go at once rather than with the caller.
    std::vector<std::vector<std::string>>().swap(rows);
}

template <class Rows>
void FlexGridModel::append(const Rows& rows) {
    size_t chars = 0;
    for (const auto& cells : rows)
        for (size_t c = 0; c < cells.size() && c < static_cast<size_t>(cols_); ++c)
            chars += cells[c].size();
    text_.reserve(text_.size() + chars);
    cells_.reserve(cells_.size() + rows.size() * static_cast<size_t>(cols_));
    for (const auto& cells : rows) stage(cells);
    showStaged();
}

template <class Row>
void FlexGridModel::stage(const Row& cells) {
    const auto width = static_cast<size_t>(cols_);
    const size_t at = cells_.size();
    cells_.resize(at + width);
    for (size_t c = 0; c < cells.size() && c < width; ++c) cells_[at + c] = store(cells[c]);
    ++staged_;
}

void FlexGridModel::stageRow(const std::vector<std::string>& cells) { stage(cells); }

void FlexGridModel::showStaged() {
    if (staged_ == 0) return;
    // Grown by doubling while staged: what was never filled goes back now.
    if (text_.capacity() > text_.size() + text_.size() / 4) text_.shrink_to_fit();
    if (cells_.capacity() > cells_.size() + cells_.size() / 4) cells_.shrink_to_fit();
    const long long count = staged_;
    const long long first = rows_ - headerRows();
    // A grid without a header row gets one from its first row.
    const bool fillsHeader = rows_ == 0 && headerRows() > 0;
    const long long firstModel = std::max(0LL, first);
    const long long lastModel = rows_ + count - 1 - headerRows();
    if (lastModel >= firstModel)
        beginInsertRows({}, static_cast<int>(firstModel), static_cast<int>(lastModel));
    rows_ += count;
    staged_ = 0;
    if (lastModel >= firstModel) endInsertRows();
    if (fillsHeader && cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

void FlexGridModel::dropStaged() {
    const auto shown = static_cast<size_t>(rows_ * cols_);
    for (size_t i = shown; i < cells_.size(); ++i) unused_ += cells_[i].size;
    cells_.resize(shown);
    staged_ = 0;
    compactIfWasteful();
}

long long FlexGridModel::firstDataRow() const {
    const long long first = fixedRows_;
    if (first >= rows_) return rows_;
    for (int c = 0; c < cols_; ++c)
        if (!cell(first, c).empty()) return first;
    return first + 1;
}

void FlexGridModel::sortRows(int col, bool ascending) {
    const long long first = firstDataRow();
    if (col < 0 || col >= cols_ || rows_ - first < 2) return;
    const auto count = static_cast<size_t>(rows_ - first);
    auto text = [&](size_t i) { return cell(first + (long long)i, col); };
    bool numbers = true, dates = true;
    for (size_t i = 0; i < count && (numbers || dates); ++i) {
        if (text(i).empty()) continue;
        numbers = numbers && platform::IsNumeric(text(i));
        dates = dates && platform::IsDate(text(i));
    }
    // One key per row, worked out once: a number, a date's serial or the folded text.
    std::vector<double> numberKeys(numbers || dates ? count : 0);
    std::vector<QString> textKeys(numbers || dates ? 0 : count);
    for (size_t i = 0; i < count; ++i) {
        if (text(i).empty()) continue;
        if (numbers)
            numberKeys[i] = *platform::ParseNumber(text(i));
        else if (dates)
            numberKeys[i] = static_cast<double>(platform::TextToDate(text(i))->serialSeconds());
        else
            textKeys[i] = qt::q(text(i)).toCaseFolded();
    }
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const bool blankA = text(a).empty(), blankB = text(b).empty();
        if (blankA || blankB) return blankB && !blankA;
        if (!textKeys.empty())
            return ascending ? textKeys[a] < textKeys[b] : textKeys[b] < textKeys[a];
        return ascending ? numberKeys[a] < numberKeys[b] : numberKeys[b] < numberKeys[a];
    });
    emit layoutAboutToBeChanged();
    std::vector<Cell> sorted;
    sorted.reserve(count * static_cast<size_t>(cols_));
    for (size_t i : order)
        for (int c = 0; c < cols_; ++c)
            sorted.push_back(cells_[static_cast<size_t>((first + (long long)i) * cols_ + c)]);
    std::copy(sorted.begin(), sorted.end(), cells_.begin() + first * cols_);
    emit layoutChanged();
}

std::string FlexGridModel::clipText() const {
    size_t size = static_cast<size_t>(rows_ * (cols_ + 1));
    for (const Cell& c : cells_) size += c.size;
    std::string out;
    out.reserve(size);
    for (long long r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            out += cell(r, c);
            out += '\t';
        }
        out += '\n';
    }
    return out;
}

QModelIndex FlexGridModel::indexFor(long long row, int col) const {
    if (row < headerRows() || row >= rows_) return {};
    return index(static_cast<int>(row - headerRows()), col);
}

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(std::max(0LL, rows_ - headerRows()));
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const long long row = gridRow(index);
    if (row >= rows_ || index.column() >= cols_) return {};
    switch (role) {
        case Qt::DisplayRole:
            return qt::q(cell(row, index.column()));
        case Qt::BackgroundRole:
            if (isFixed(row, index.column())) return fixedBrush();
            return {};
        default:
            return {};
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || headerRows() == 0 || rows_ == 0) return {};
    if (section < 0 || section >= cols_) return {};
    switch (role) {
        case Qt::DisplayRole:
            return qt::q(cell(0, section));
        case Qt::BackgroundRole:
            return fixedBrush();
        case Qt::TextAlignmentRole:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace controls
