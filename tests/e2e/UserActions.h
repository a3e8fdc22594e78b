// What a user does with the mouse and the keyboard, as real Qt events on the real widgets:
// menu bar choices, list choices from a combo's popup, typing, tabs, grid cells and popup
// menus. Every step waits for what it opened, so the walks need no fixed sleeps.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
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

// Left click in the middle of a control.
inline void Click(const platform::Control& control) {
    QWidget* w = control.widget();
    ASSERT_TRUE(w->isVisible()) << control.Name() << " is not on screen";
    ASSERT_TRUE(w->isEnabled()) << control.Name() << " is disabled";
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    QApplication::processEvents();
}

// Clicks into a text box and types; `replace` first selects what is there.
inline void Type(const platform::Control& box, const std::string& text, bool replace = false) {
    QWidget* w = box.widget();
    ASSERT_TRUE(w->isVisible()) << box.Name() << " is not on screen";
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
    if (replace) {
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Backspace);
    }
    QTest::keyClicks(w, q(text));
    QApplication::processEvents();
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
        if (a->text() == q(menuCaption)) top = a;
    ASSERT_NE(top, nullptr) << "no menu " << menuCaption;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    QMenu* menu = top->menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == q(itemCaption)) item = a;
    ASSERT_NE(item, nullptr) << "no item " << itemCaption << " on " << menuCaption;
    const QPoint at = menu->actionGeometry(item).center();
    MoveTo(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
    QApplication::processEvents();
}

// Opens a list and clicks the entry whose code (the text before its '-') is `code`.
inline void Pick(platform::ComboBox& list, const std::string& code) {
    auto* combo = static_cast<QComboBox*>(list.widget());
    ASSERT_TRUE(combo->isVisible()) << list.Name() << " is not on screen";
    int index = -1;
    for (int i = 0; i < list.ListCount() && index < 0; ++i)
        if (platform::LookupCode(list.List(i)) == code) index = i;
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
    QTest::mouseClick(combo, Qt::LeftButton, {}, opener);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(WaitFor([&] { return view->isVisible(); }));
    const QModelIndex entry = view->model()->index(index, combo->modelColumn());
    view->scrollTo(entry);
    const QPoint at = view->visualRect(entry).center();
    ASSERT_TRUE(view->viewport()->rect().contains(at)) << list.Name() << " entry " << code;
    MoveTo(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(WaitFor([&] { return !view->isVisible(); }));
    QApplication::processEvents();
    ASSERT_EQ(list.ListIndex(), index) << list.Name() << " did not take " << code;
}

// Brings a tab forward by clicking its caption.
inline void ClickTab(platform::SSTab& tabs, const std::string& caption) {
    QTabBar* bar = static_cast<QTabWidget*>(tabs.widget())->tabBar();
    int index = -1;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == q(caption)) index = i;
    ASSERT_GE(index, 0) << "no tab " << caption;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QApplication::processEvents();
    ASSERT_EQ(tabs.Tab(), index);
}

// The middle of a grid cell in its viewport, scrolled into view.
inline QPoint CellPoint(platform::MSFlexGrid& grid, long long row, int col) {
    const QModelIndex cell = grid.model().indexFor(row, col);
    grid.view()->scrollTo(cell);
    return grid.view()->visualRect(cell).center();
}

inline void ClickCell(platform::MSFlexGrid& grid, long long row, int col) {
    const QPoint at = CellPoint(grid, row, col);
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

// Right-clicks a grid cell and chooses `itemCaption` from the popup menu that opens.
inline void ChooseFromGridPopup(platform::MSFlexGrid& grid, platform::Menu& popup, long long row,
                                int col, const std::string& itemCaption) {
    QWidget* viewport = grid.view()->viewport();
    const QPoint at = CellPoint(grid, row, col);
    MoveTo(viewport, at);
    QTest::mouseClick(viewport, Qt::RightButton, {}, at);
    QMenu* menu = popup.menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == q(itemCaption)) item = a;
    ASSERT_NE(item, nullptr) << "no item " << itemCaption;
    const QPoint on = menu->actionGeometry(item).center();
    MoveTo(menu, on);
    QTest::mouseClick(menu, Qt::LeftButton, {}, on);
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
    QApplication::processEvents();
}

// Puts the program back as a fresh start finds it: no popup open, no window, no database,
// fresh dialogs.
inline void ResetProgram() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    loader::DataLoaderWindow().reset();
    exporter::ExportWindow().reset();
    app::ResetMainWindow();
    store::setDb(nullptr);
    platform::SetDialogService(std::make_shared<platform::ScriptedDialogs>());
    QApplication::processEvents();  // the deferred deletes of unloaded windows
}

// The grid row (from the first data row) whose cell in `col` reads `text`, or -1.
inline long long FindRow(const platform::MSFlexGrid& grid, int col, const std::string& text) {
    for (long long r = 1; r < grid.Rows(); ++r)
        if (grid.TextMatrix(r, col) == text) return r;
    return -1;
}

}  // namespace e2e
