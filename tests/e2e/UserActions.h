// What a user does with the mouse and the keyboard, as real Qt events on the real widgets:
// menu bar choices, list choices from a combo's popup, typing, dates, tabs, grid cells and
// popup menus. A click goes to the widget under the pointer and fails when the control is
// hidden, disabled or covered there; keys go to the widget with the focus. Every step waits
// for what it opened, so the walks need no fixed sleeps.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <string>

#include "ComboBox.h"
#include "Connection.h"
#include "Control.h"
#include "Conversions.h"
#include "DTPicker.h"
#include "Dialogs.h"
#include "FlexGridModel.h"
#include "MDIMain.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "SSTab.h"
#include "Windows.h"
#include "frmExport.h"

namespace e2e {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

// Runs the event loop until `done` holds (popups open and close through it).
template <class Predicate>
bool WaitFor(Predicate done) {
    return QTest::qWaitFor(done, 5000);
}

// What a widget is, for a failure message: its class and its text, if it shows one.
inline std::string Describe(const QWidget* w) {
    if (!w) return "nothing";
    std::string text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text().toStdString();
    else if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text().toStdString();
    else if (auto* g = qobject_cast<const QGroupBox*>(w))
        text = g->title().toStdString();
    std::string out = w->metaObject()->className();
    if (!text.empty()) out += " \"" + text + "\"";
    return out;
}

// The widget a pointer at `at` (in `w`'s coordinates) lands on: the deepest widget of w's
// window there, as the window system would deliver the click.
inline QWidget* WidgetAt(QWidget* w, QPoint at) {
    QWidget* top = w->window();
    const QPoint p = w->mapTo(top, at);
    if (!top->rect().contains(p)) return nullptr;
    QWidget* hit = top->childAt(p);
    return hit ? hit : top;
}

// A user can reach `w` at `at` only if it shows, takes input and nothing lies over it.
inline testing::AssertionResult Reachable(QWidget* w, QPoint at, const std::string& name) {
    if (!w->isVisible()) return testing::AssertionFailure() << name << " is not on screen";
    if (!w->isEnabled()) return testing::AssertionFailure() << name << " is disabled";
    QWidget* hit = WidgetAt(w, at);
    if (hit != w && !w->isAncestorOf(hit))
        return testing::AssertionFailure() << name << " is covered by " << Describe(hit) << " at ("
                                           << at.x() << "," << at.y() << ")";
    return testing::AssertionSuccess();
}

// Clicks `w` at `at` after checking a user could: the events go to the widget under the
// pointer, which is `w` or one of its parts.
inline void ClickAt(QWidget* w, QPoint at, const std::string& name,
                    Qt::MouseButton button = Qt::LeftButton) {
    ASSERT_TRUE(Reachable(w, at, name));
    QWidget* hit = WidgetAt(w, at);
    QTest::mouseClick(hit, button, {}, hit->mapFrom(w, at));
    QApplication::processEvents();
}

// Left click in the middle of a control.
inline void Click(const controls::Control& control) {
    QWidget* w = control.widget();
    ASSERT_NO_FATAL_FAILURE(ClickAt(w, w->rect().center(), control.Name()));
}

// Keys go where the focus is, as on a real keyboard; the focus must be in `control`.
inline void Keys(const controls::Control& control, const std::string& text) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* w = control.widget();
    ASSERT_TRUE(focus && (focus == w || w->isAncestorOf(focus)))
        << control.Name() << " does not have the focus, " << Describe(focus) << " has";
    QTest::keyClicks(focus, q(text));
    QApplication::processEvents();
}

inline void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "no widget has the focus";
    QTest::keyClick(focus, key, modifiers);
    QApplication::processEvents();
}

// Clicks into a text box and types; `replace` first selects what is there.
inline void Type(const controls::Control& box, const std::string& text, bool replace = false) {
    QWidget* w = box.widget();
    ASSERT_NO_FATAL_FAILURE(ClickAt(w, QPoint(4, w->height() / 2), box.Name()));
    if (replace) {
        ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Backspace));
    }
    ASSERT_NO_FATAL_FAILURE(Keys(box, text));
}

// Clicks into a date or time box at the start of its text, types the value whole ("4/7/2004",
// "9:05 AM") and moves on with Tab, which is when the box takes what was typed.
inline void TypeDate(const controls::DTPicker& picker, const std::string& text) {
    QWidget* w = picker.widget();
    ASSERT_NO_FATAL_FAILURE(ClickAt(w, QPoint(4, w->height() / 2), picker.Name()));
    ASSERT_NO_FATAL_FAILURE(Keys(picker, text));
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Tab));
}

// Moves the pointer onto a point of a widget by way of its far edge, as a hand travels: a
// list that has just opened under the pointer ignores a release until the pointer has moved.
inline void MoveTo(QWidget* w, QPoint to) {
    QTest::mouseMove(w, QPoint(to.x(), to.y() < w->height() / 2 ? w->height() - 2 : 1));
    QTest::mouseMove(w, to);
}

// Opens a menu of a menu bar and chooses one of its items.
inline void ChooseFromMenuBar(QWidget* mainWindow, const std::string& menuCaption,
                              const std::string& itemCaption) {
    QMenuBar* bar = static_cast<QMainWindow*>(mainWindow)->menuBar();
    QAction* top = nullptr;
    for (QAction* a : bar->actions())
        if (a->text().remove('&') == q(menuCaption)) top = a;
    ASSERT_NE(top, nullptr) << "no menu " << menuCaption;
    ASSERT_NO_FATAL_FAILURE(ClickAt(bar, bar->actionGeometry(top).center(), menuCaption));
    QMenu* menu = top->menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().remove('&') == q(itemCaption)) item = a;
    ASSERT_NE(item, nullptr) << "no item " << itemCaption << " on " << menuCaption;
    ASSERT_TRUE(item->isEnabled()) << itemCaption << " is disabled";
    const QPoint at = menu->actionGeometry(item).center();
    MoveTo(menu, at);
    ASSERT_NO_FATAL_FAILURE(ClickAt(menu, at, itemCaption));
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
    QApplication::processEvents();
}

// Opens a list and clicks the entry of `code`.
inline void Pick(controls::ComboBox& list, const std::string& code) {
    auto* combo = static_cast<QComboBox*>(list.widget());
    int index = -1;
    for (int i = 0; i < list.ListCount() && index < 0; ++i)
        if (list.ItemCode(i) == code) index = i;
    ASSERT_GE(index, 0) << "no " << code << " in " << list.Name();

    // A list that takes typing opens from its arrow; the others from anywhere.
    QPoint opener = combo->rect().center();
    if (combo->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        opener = combo->style()
                     ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo)
                     .center();
    }
    ASSERT_NO_FATAL_FAILURE(ClickAt(combo, opener, list.Name()));
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(WaitFor([&] { return view->isVisible(); }));
    const QModelIndex entry = view->model()->index(index, combo->modelColumn());
    view->scrollTo(entry);
    const QPoint at = view->visualRect(entry).center();
    ASSERT_TRUE(view->viewport()->rect().contains(at)) << list.Name() << " entry " << code;
    MoveTo(view->viewport(), at);
    ASSERT_NO_FATAL_FAILURE(ClickAt(view->viewport(), at, list.Name() + " entry " + code));
    ASSERT_TRUE(WaitFor([&] { return !view->isVisible(); }));
    QApplication::processEvents();
    ASSERT_EQ(list.ListIndex(), index) << list.Name() << " did not take " << code;
}

// Brings a tab forward by clicking its caption.
inline void ClickTab(controls::SSTab& tabs, const std::string& caption) {
    QTabBar* bar = static_cast<QTabWidget*>(tabs.widget())->tabBar();
    int index = -1;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == q(caption)) index = i;
    ASSERT_GE(index, 0) << "no tab " << caption;
    ASSERT_NO_FATAL_FAILURE(ClickAt(bar, bar->tabRect(index).center(), "tab " + caption));
    ASSERT_EQ(tabs.Tab(), index);
}

// The middle of a grid cell in its viewport, scrolled into view.
inline QPoint CellPoint(controls::MSFlexGrid& grid, long long row, int col) {
    const QModelIndex cell = grid.model().indexFor(row, col);
    grid.view()->scrollTo(cell);
    return grid.view()->visualRect(cell).center();
}

inline void ClickCell(controls::MSFlexGrid& grid, long long row, int col) {
    const QPoint at = CellPoint(grid, row, col);
    ASSERT_NO_FATAL_FAILURE(ClickAt(grid.view()->viewport(), at, grid.Name() + " cell"));
}

// Right-clicks a grid cell and chooses `itemCaption` from the popup menu that opens.
inline void ChooseFromGridPopup(controls::MSFlexGrid& grid, controls::Menu& popup, long long row,
                                int col, const std::string& itemCaption) {
    QWidget* viewport = grid.view()->viewport();
    const QPoint at = CellPoint(grid, row, col);
    MoveTo(viewport, at);
    ASSERT_NO_FATAL_FAILURE(ClickAt(viewport, at, grid.Name() + " cell", Qt::RightButton));
    QMenu* menu = popup.menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().remove('&') == q(itemCaption)) item = a;
    ASSERT_NE(item, nullptr) << "no item " << itemCaption;
    const QPoint on = menu->actionGeometry(item).center();
    MoveTo(menu, on);
    ASSERT_NO_FATAL_FAILURE(ClickAt(menu, on, itemCaption));
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
    QApplication::processEvents();
}

// The grid row (from the first data row) whose cell in `col` reads `text`, or -1.
inline long long FindRow(const controls::MSFlexGrid& grid, int col, const std::string& text) {
    for (long long r = 1; r < grid.Rows(); ++r)
        if (grid.TextMatrix(r, col) == text) return r;
    return -1;
}

}  // namespace e2e
