#include "MSFlexGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QTableView>
#include <algorithm>
#include <utility>

#include "EngineError.h"
#include "EventGuard.h"
#include "FlexGridModel.h"
#include "GridClipboard.h"
#include "QtGlue.h"

namespace controls {

namespace {

// Column widths follow the header and the first rows only: measuring every row of a
// 200,000-row grid would cost more than filling it.
constexpr long long kMeasuredRows = 200;
constexpr int kMinColumnPixels = 40;
constexpr int kMaxColumnPixels = 360;
constexpr int kCellPadding = 12;

int classicButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int classicShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

[[noreturn]] void outOfRange() { throw platform::EngineError(381, "Subscript out of range"); }

// Checked before the store is sized from them.
FlexGridModel* makeModel(int rows, int cols, int fixedRows, int fixedCols, QObject* parent) {
    if (rows < 0 || cols < 0 || fixedRows < 0 || fixedCols < 0 || rows < fixedRows ||
        cols < fixedCols)
        throw platform::EngineError(380, "Invalid property value");
    return new FlexGridModel(rows, cols, fixedRows, fixedCols, parent);
}

}  // namespace

MSFlexGrid::MSFlexGrid(Container& parent, std::string name, int rows, int cols, int fixedRows,
                       int fixedCols, Geometry g, int index)
    : Control(parent, std::move(name), new QTableView(parent.area()), index),
      model_(makeModel(rows, cols, fixedRows, fixedCols, widget())),
      view_(static_cast<QTableView*>(widget())) {
    view_->setModel(model_);
    // Drawn as filled edges, the frame stays whole at fractional screen scales too.
    view_->setStyleSheet("QTableView { border: 1px solid palette(mid); }");
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionsClickable(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view_->horizontalHeader()->setVisible(fixedRows > 0);
    view_->horizontalHeader()->setDefaultSectionSize(64);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    // Tab goes on to the next control, as in the classic grid; arrows move the cell.
    view_->setTabKeyNavigation(false);
    row_ = rowSel_ = std::min<long long>(fixedRows, std::max(0, rows - 1));
    col_ = colSel_ = std::min(fixedCols, std::max(0, cols - 1));

    // The keyboard moves the current cell; Shift stretches the selection instead.
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, view_,
                     [this](const QModelIndex& current) {
                         if (syncing_ || dragging_ || !current.isValid()) return;
                         rowSel_ = model_->gridRow(current);
                         colSel_ = current.column();
                         if (!(QApplication::keyboardModifiers() & Qt::ShiftModifier)) {
                             row_ = rowSel_;
                             col_ = colSel_;
                             qt::RaiseFromQt(RowColChange);
                         }
                     });

    // The mouse: the pressed cell becomes Row/Col, the cell dragged to RowSel/ColSel.
    qt::Watch(view_->viewport(), [this](QObject*, QEvent* e) {
        switch (e->type()) {
            case QEvent::MouseButtonPress: {
                auto* me = static_cast<QMouseEvent*>(e);
                if (me->button() != Qt::LeftButton) return true;  // the classic grid keeps its cell
                dragging_ = true;
                const QPoint p = me->position().toPoint();
                pressAt(p.x(), p.y(), me->modifiers() & Qt::ShiftModifier);
                return false;
            }
            case QEvent::MouseMove: {
                auto* me = static_cast<QMouseEvent*>(e);
                if (dragging_ && (me->buttons() & Qt::LeftButton)) {
                    const QModelIndex i = view_->indexAt(me->position().toPoint());
                    if (i.isValid()) {
                        rowSel_ = model_->gridRow(i);
                        colSel_ = i.column();
                    }
                }
                return false;
            }
            case QEvent::MouseButtonDblClick: {
                auto* me = static_cast<QMouseEvent*>(e);
                if (me->button() != Qt::LeftButton) return true;
                const QPoint p = me->position().toPoint();
                if (!view_->indexAt(p).isValid()) return false;
                pressAt(p.x(), p.y(), false);
                syncSelection();
                qt::RaiseFromQt([this] {
                    if (DblClick) DblClick();
                });
                return false;
            }
            case QEvent::MouseButtonRelease: {
                auto* me = static_cast<QMouseEvent*>(e);
                if (me->button() == Qt::LeftButton) {
                    dragging_ = false;
                    // On the release, not the press: a handler that asks something must
                    // not leave the grid thinking the button is still held.
                    qt::RaiseFromQt(RowColChange);
                }
                raiseMouseUp(view_->viewport(), *me);
                return false;
            }
            default:
                return false;
        }
    });
    // Select-all marks every cell below and right of the fixed ones, and says so in
    // Row/RowSel, so the handlers act on the block the user sees.
    qt::Watch(view_, [this](QObject*, QEvent* e) {
        if (e->type() == QEvent::ContextMenu) {
            auto* ce = static_cast<QContextMenuEvent*>(e);
            // The mouse's own is left alone: a right click acts on its release.
            if (ce->reason() != QContextMenuEvent::Keyboard) return false;
            raiseMenuKey(classicShift(ce->modifiers()));
            return true;
        }
        if (e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        // Shift+F10 is the other menu key; not every window system turns it into a menu event.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            raiseMenuKey(classicShift(Qt::NoModifier));
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            CopySelection();
            return true;
        }
        if (!key->matches(QKeySequence::SelectAll)) return false;
        if (model_->rows() > model_->fixedRows() && model_->cols() > model_->fixedCols()) {
            row_ = model_->fixedRows();
            col_ = model_->fixedCols();
            rowSel_ = model_->rows() - 1;
            colSel_ = model_->cols() - 1;
            syncSelection();
        }
        return true;
    });
    // Row 0 is drawn by the header, yet it is part of the grid: a release there is the
    // grid's too.
    // A left click there sorts by its column, a second one reverses; dragging a column's
    // edge to resize it does not.
    qt::Watch(view_->horizontalHeader()->viewport(), [this](QObject*, QEvent* e) {
        QHeaderView* header = view_->horizontalHeader();
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        const int col = header->logicalIndexAt(me->position().toPoint());
        if (me->button() == Qt::LeftButton && e->type() == QEvent::MouseButtonPress) {
            headerPress_ = {col, col < 0 ? 0 : header->sectionSize(col)};
        } else if (e->type() == QEvent::MouseButtonRelease) {
            if (me->button() == Qt::LeftButton && col >= 0 && headerPress_.first == col &&
                headerPress_.second == header->sectionSize(col)) {
                sortAscending_ = col == sortCol_ ? !sortAscending_ : true;
                Sort(col, sortAscending_);
            }
            raiseMouseUp(header->viewport(), *me);
        }
        return false;
    });
    auto rowsChanged = [this] {
        if (RowsChanged) RowsChanged();
    };
    QObject::connect(model_, &QAbstractItemModel::rowsInserted, view_, rowsChanged);
    QObject::connect(model_, &QAbstractItemModel::rowsRemoved, view_, rowsChanged);
    QObject::connect(model_, &QAbstractItemModel::modelReset, view_, rowsChanged);
    fitColumns(0, rows - 1);
    syncSelection();
    place(g);
}

void MSFlexGrid::CopySelection() const {
    const CellBlock block{std::min(row_, rowSel_), std::max(row_, rowSel_), std::min(col_, colSel_),
                          std::max(col_, colSel_)};
    if (block.r1 == block.r2 && block.c1 == block.c2) {
        const CellBlock all{0, model_->rows() - 1, 0, model_->cols() - 1};
        GridClipboard::Put(GridClipboard::AllText(*model_), GridClipboard::Html(*model_, all));
    } else {
        GridClipboard::Put(GridClipboard::Text(*model_, block),
                           GridClipboard::Html(*model_, block));
    }
}

void MSFlexGrid::SetLastColumnFills(bool fills) {
    view_->horizontalHeader()->setStretchLastSection(fills);
}

long long MSFlexGrid::DataRows() const { return model_->rows() - model_->firstDataRow(); }

std::string MSFlexGrid::RowCountText() const {
    const long long n = DataRows();
    return std::to_string(n) + (n == 1 ? " row" : " rows");
}

void MSFlexGrid::Sort(int col, bool ascending) {
    if (col < 0 || col >= model_->cols()) outOfRange();
    sortCol_ = col;
    sortAscending_ = ascending;
    model_->sortRows(col, ascending);
    view_->horizontalHeader()->setSortIndicatorShown(true);
    view_->horizontalHeader()->setSortIndicator(
        col, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    syncSelection();
}

MSFlexGrid::~MSFlexGrid() = default;

void MSFlexGrid::raiseMouseUp(QWidget* from, const QMouseEvent& me) {
    const QPoint p = from->mapTo(view_, me.position().toPoint());
    const int button = classicButton(me.button());
    const int shift = classicShift(me.modifiers());
    qt::RaiseFromQt([this, button, shift, p] {
        if (MouseUp) MouseUp(button, shift, qt::toTwips(p.x()), qt::toTwips(p.y()));
    });
}

void MSFlexGrid::raiseMenuKey(int shift) {
    const QPoint p = currentCellPoint();
    // A popup the handler opens belongs by the cell, wherever the pointer rests.
    qt::PopupPoint at(view_->mapToGlobal(p));
    qt::RaiseFromQt([this, shift, p] {
        if (MouseUp) MouseUp(2, shift, qt::toTwips(p.x()), qt::toTwips(p.y()));
    });
}

QPoint MSFlexGrid::currentCellPoint() const {
    QHeaderView* header = view_->horizontalHeader();
    const QModelIndex cell = model_->indexFor(row_, col_);
    // Row 0 is drawn by the header.
    QWidget* area = cell.isValid() || header->isHidden() ? view_->viewport() : header->viewport();
    const QRect r = area->rect();
    if (r.isEmpty()) return view_->rect().center();
    const QRect column(header->sectionViewportPosition(col_), 0, header->sectionSize(col_), 1);
    const QPoint p = cell.isValid() ? view_->visualRect(cell).center()
                                    : QPoint(column.center().x(), r.center().y());
    // A cell scrolled out of sight counts as the nearest point in view.
    return area->mapTo(view_, QPoint(std::clamp(p.x(), r.left(), r.right()),
                                     std::clamp(p.y(), r.top(), r.bottom())));
}

void MSFlexGrid::pressAt(int x, int y, bool extend) {
    const QModelIndex i = view_->indexAt(QPoint(x, y));
    if (!i.isValid()) return;
    rowSel_ = model_->gridRow(i);
    colSel_ = i.column();
    if (!extend) {
        row_ = rowSel_;
        col_ = colSel_;
    }
}

long long MSFlexGrid::Rows() const { return model_->rows(); }

void MSFlexGrid::SetRows(long long rows) {
    if (rows < model_->fixedRows() || rows < 0)
        throw platform::EngineError(380, "Invalid property value");
    const long long before = model_->rows();
    model_->setRows(rows);
    clampCursor();
    if (rows <= model_->fixedRows() + 1) {
        // A grid cut back for a refill sizes its columns anew from what comes next, unsorted.
        view_->horizontalHeader()->reset();
        view_->horizontalHeader()->setSortIndicatorShown(false);
        sortCol_ = -1;
        fitColumns(0, rows - 1);
    } else if (rows > before) {
        fitColumns(before, rows - 1);
    }
    syncSelection();
}

void MSFlexGrid::RemoveRows(long long row, long long count) {
    if (count <= 0) return;
    if (row < model_->fixedRows() || row + count > model_->rows()) outOfRange();
    model_->eraseRows(row, count);
    clampCursor();
    syncSelection();
}

int MSFlexGrid::Cols() const { return model_->cols(); }

void MSFlexGrid::SetCols(int cols) {
    if (cols < model_->fixedCols() || cols < 0)
        throw platform::EngineError(380, "Invalid property value");
    model_->setCols(cols);
    clampCursor();
    fitColumns(0, model_->rows() - 1);
    syncSelection();
}

int MSFlexGrid::FixedRows() const { return model_->fixedRows(); }

void MSFlexGrid::SetFixedRows(int rows) {
    if (rows < 0 || rows > model_->rows())
        throw platform::EngineError(380, "Invalid property value");
    model_->setFixedRows(rows);
    view_->horizontalHeader()->setVisible(rows > 0);
    clampCursor();
    syncSelection();
}

int MSFlexGrid::FixedCols() const { return model_->fixedCols(); }

void MSFlexGrid::SetFixedCols(int cols) {
    if (cols < 0 || cols > model_->cols())
        throw platform::EngineError(380, "Invalid property value");
    model_->setFixedCols(cols);
}

long long MSFlexGrid::Row() const { return row_; }
void MSFlexGrid::SetRow(long long row) {
    if (row < 0 || row >= model_->rows()) outOfRange();
    row_ = rowSel_ = row;
    syncSelection();
}

int MSFlexGrid::Col() const { return col_; }
void MSFlexGrid::SetCol(int col) {
    if (col < 0 || col >= model_->cols()) outOfRange();
    col_ = colSel_ = col;
    syncSelection();
}

long long MSFlexGrid::RowSel() const { return rowSel_; }
void MSFlexGrid::SetRowSel(long long row) {
    if (row < 0 || row >= model_->rows()) outOfRange();
    rowSel_ = row;
    syncSelection();
}

int MSFlexGrid::ColSel() const { return colSel_; }
void MSFlexGrid::SetColSel(int col) {
    if (col < 0 || col >= model_->cols()) outOfRange();
    colSel_ = col;
    syncSelection();
}

std::string MSFlexGrid::Text() const { return TextMatrix(row_, col_); }
void MSFlexGrid::SetText(const std::string& text) { SetTextMatrix(row_, col_, text); }

std::string MSFlexGrid::TextArray(long long index) const {
    const int cols = model_->cols();
    if (index < 0 || cols == 0 || index >= model_->rows() * cols) outOfRange();
    return std::string(model_->cell(index / cols, static_cast<int>(index % cols)));
}

void MSFlexGrid::SetTextArray(long long index, const std::string& text) {
    const int cols = model_->cols();
    if (index < 0 || cols == 0 || index >= model_->rows() * cols) outOfRange();
    SetTextMatrix(index / cols, static_cast<int>(index % cols), text);
}

std::string MSFlexGrid::TextMatrix(long long row, int col) const {
    checkCell(row, col);
    return std::string(model_->cell(row, col));
}

void MSFlexGrid::SetTextMatrix(long long row, int col, const std::string& text) {
    checkCell(row, col);
    model_->setCell(row, col, text);
    if (row <= kMeasuredRows) fitColumns(row, row);
}

void MSFlexGrid::AddItem(std::string_view line) {
    const long long first = model_->rows();
    model_->appendLines({line});
    if (first <= kMeasuredRows) fitColumns(first, first);
}

void MSFlexGrid::AddItems(const std::vector<std::string>& lines) {
    const long long first = model_->rows();
    model_->appendLines(std::vector<std::string_view>(lines.begin(), lines.end()));
    fitColumns(first, model_->rows() - 1);
}

void MSFlexGrid::AddRows(std::vector<std::vector<std::string>> rows) {
    const long long first = model_->rows();
    model_->appendRows(std::move(rows));
    fitColumns(first, model_->rows() - 1);
}

MSFlexGrid::RowFill::~RowFill() { grid_.model_->dropStaged(); }

void MSFlexGrid::RowFill::Add(const std::vector<std::string>& cells) {
    grid_.model_->stageRow(cells);
}

void MSFlexGrid::RowFill::Show() {
    const long long first = grid_.model_->rows();
    grid_.model_->showStaged();
    grid_.fitColumns(first, grid_.model_->rows() - 1);
}

std::string MSFlexGrid::ClipText() const { return model_->clipText(); }

void MSFlexGrid::checkCell(long long row, int col) const {
    if (row < 0 || row >= model_->rows() || col < 0 || col >= model_->cols()) outOfRange();
}

void MSFlexGrid::clampCursor() {
    const long long lastRow = std::max(0LL, model_->rows() - 1);
    const int lastCol = std::max(0, model_->cols() - 1);
    row_ = std::min(row_, lastRow);
    rowSel_ = std::min(rowSel_, lastRow);
    col_ = std::min(col_, lastCol);
    colSel_ = std::min(colSel_, lastCol);
}

void MSFlexGrid::fitColumns(long long firstRow, long long lastRow) {
    lastRow = std::min(lastRow, std::min(kMeasuredRows, model_->rows() - 1));
    if (firstRow > lastRow) return;
    const QFontMetrics body = view_->fontMetrics();
    const QFontMetrics header = view_->horizontalHeader()->fontMetrics();
    QHeaderView* columns = view_->horizontalHeader();
    for (int c = 0; c < model_->cols(); ++c) {
        int width = columns->sectionSize(c);
        for (long long r = firstRow; r <= lastRow; ++r) {
            const std::string_view text = model_->cell(r, c);
            if (text.empty()) continue;
            const QFontMetrics& fm = r < model_->headerRows() ? header : body;
            width = std::max(width, fm.horizontalAdvance(qt::q(text)) + kCellPadding);
        }
        width = std::clamp(width, kMinColumnPixels, kMaxColumnPixels);
        if (width != columns->sectionSize(c)) columns->resizeSection(c, width);
    }
}

void MSFlexGrid::syncSelection() {
    QItemSelectionModel* selection = view_->selectionModel();
    syncing_ = true;
    const long long header = model_->headerRows();
    const long long r1 = std::max(std::min(row_, rowSel_), header);
    const long long r2 = std::max(row_, rowSel_);
    const int c1 = std::min(col_, colSel_);
    const int c2 = std::max(col_, colSel_);
    QItemSelection range;
    if (r2 >= r1 && r2 < model_->rows() && c2 < model_->cols())
        range.select(model_->indexFor(r1, c1), model_->indexFor(r2, c2));
    // Moving the current cell from code never scrolls the grid, as in the classic grid: a
    // header written column by column would otherwise leave the view scrolled to its end.
    const bool autoScroll = view_->hasAutoScroll();
    view_->setAutoScroll(false);
    selection->setCurrentIndex(model_->indexFor(row_, col_), QItemSelectionModel::NoUpdate);
    selection->select(range, QItemSelectionModel::ClearAndSelect);
    view_->setAutoScroll(autoScroll);
    syncing_ = false;
}

}  // namespace controls
