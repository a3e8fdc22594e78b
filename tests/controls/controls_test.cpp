#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <cctype>
#include <memory>

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "Conversions.h"
#include "DTPicker.h"
#include "EngineError.h"
#include "Form.h"
#include "Frame.h"
#include "Label.h"
#include "SSTab.h"
#include "TestSupport.h"
#include "TextBox.h"

using namespace controls;
using namespace platform;
using testing_support::ErrorNumber;

namespace {

// A small window in the shape the real ones have: controls as members, handlers counting.
class ControlsForm : public Form {
  public:
    ControlsForm()
        : Form("frmControls", "Controls"),
          Frame1(*this, "Frame1", "Edit", {120, 120, 4000, 2400}),
          Check1(Frame1, "Check1", "Tick", {120, 300, 1500, 300}),
          cmbList(*this, "cmbList", {120, 2700, 2500, 315}, ComboBox::Style::DropDownList),
          cmbEdit(*this, "cmbEdit", {120, 3100, 2500, 315}),
          txtName(*this, "txtName", "", {120, 3500, 2500, 315}),
          txtNotes(*this, "txtNotes", "", {120, 3900, 2500, 900}, true),
          cmdOK(*this, "cmdOK", "OK", {3000, 5000, 1200, 400}),
          cmdCancel(*this, "cmdCancel", "Cancel", {4300, 5000, 1200, 400}),
          SSTab1(*this, "SSTab1", {"One", "Two", "Three"}, {4500, 120, 4000, 3000}),
          lblOnTwo(SSTab1.Page(1), "lblOnTwo", "on page two", {300, 600, 1500, 300}),
          DTPicker1(*this, "DTPicker1", DTPicker::Format::ShortDate, {120, 5000, 1500, 315}),
          DTPicker2(*this, "DTPicker2", DTPicker::Format::Time, {1700, 5000, 1200, 315}) {
        SetClientSize(9000, 6000);
        Check1.Click = [this] { ++checkClicks; };
        cmbList.Click = [this] { ++listClicks; };
        cmbList.Change = [this] { ++listChanges; };
        cmbEdit.Click = [this] { ++editClicks; };
        cmbEdit.Change = [this] { ++editChanges; };
        txtName.Change = [this] { ++nameChanges; };
        txtNotes.Change = [this] { ++notesChanges; };
        cmdOK.Click = [this] { ++okClicks; };
        cmdCancel.Click = [this] { ++cancelClicks; };
        SSTab1.Click = [this] { ++tabClicks; };
        DTPicker1.Change = [this] { ++dateChanges; };
        DTPicker2.Change = [this] { ++timeChanges; };
        for (const char* item : {"1-One", "2-Two", "3-Three"}) {
            cmbList.AddItem(item);
            cmbEdit.AddItem(item);
        }
    }

    bool Form_KeyPress(int ascii) override {
        keys.push_back(ascii);
        return ascii == 'x';  // swallow x, pass the rest on
    }

    Frame Frame1;
    CheckBox Check1;
    ComboBox cmbList;
    ComboBox cmbEdit;
    TextBox txtName;
    TextBox txtNotes;
    CommandButton cmdOK;
    CommandButton cmdCancel;
    SSTab SSTab1;
    Label lblOnTwo;
    DTPicker DTPicker1;
    DTPicker DTPicker2;

    int checkClicks = 0, listClicks = 0, listChanges = 0, editClicks = 0, editChanges = 0;
    int nameChanges = 0, notesChanges = 0, okClicks = 0, cancelClicks = 0, tabClicks = 0;
    int dateChanges = 0, timeChanges = 0;
    std::vector<int> keys;
};

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        form = std::make_unique<ControlsForm>();
    }
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<ControlsForm> form;
};

template <class W>
W* qtOf(Control& c) {
    return static_cast<W*>(c.widget());
}

// Types as a keyboard does: Shift pressed on its own before a capital or a "/" (shifted on
// many layouts), then the key, then Shift released.
void typeLikeAKeyboard(QWidget* w, const char* text) {
    for (const char* c = text; *c; ++c) {
        const bool shifted = std::isupper(static_cast<unsigned char>(*c)) || *c == '/';
        if (shifted) QTest::keyPress(w, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(w, *c, shifted ? Qt::ShiftModifier : Qt::NoModifier);
        if (shifted) QTest::keyRelease(w, Qt::Key_Shift);
    }
}

}  // namespace

TEST_F(ControlsTest, CheckBoxClickFollowsValueChangesOnly) {
    auto& f = *form;
    EXPECT_EQ(f.Check1.Value(), 0);
    f.Check1.SetValue(0);
    EXPECT_EQ(f.checkClicks, 0);
    f.Check1.SetValue(1);
    EXPECT_EQ(f.checkClicks, 1);
    f.Check1.SetValue(1);
    EXPECT_EQ(f.checkClicks, 1);
    f.Check1.SetValue(0);
    EXPECT_EQ(f.checkClicks, 2);
    EXPECT_THROW(f.Check1.SetValue(5), EngineError);

    // A user's click toggles and raises Click exactly once.
    QTest::mouseClick(qtOf<QCheckBox>(f.Check1), Qt::LeftButton);
    EXPECT_EQ(f.Check1.Value(), 1);
    EXPECT_EQ(f.checkClicks, 3);
    QTest::mouseClick(qtOf<QCheckBox>(f.Check1), Qt::LeftButton);
    EXPECT_EQ(f.Check1.Value(), 0);
    EXPECT_EQ(f.checkClicks, 4);
}

TEST_F(ControlsTest, ComboListIndexRaisesClickOnEveryAssignment) {
    auto& f = *form;
    // Filling a list selects nothing.
    EXPECT_EQ(f.cmbList.ListIndex(), -1);
    EXPECT_EQ(f.cmbEdit.Text(), "");

    f.cmbList.SetListIndex(1);
    f.cmbList.SetListIndex(1);
    EXPECT_EQ(f.listClicks, 2);
    EXPECT_EQ(f.cmbList.Text(), "2-Two");
    f.cmbList.SetListIndex(-1);
    EXPECT_EQ(f.listClicks, 3);
    EXPECT_EQ(f.cmbList.ListIndex(), -1);
    EXPECT_EQ(f.cmbList.Text(), "");
    f.cmbEdit.SetListIndex(2);
    EXPECT_EQ(f.cmbEdit.Text(), "3-Three");
    f.cmbEdit.SetListIndex(-1);
    EXPECT_EQ(f.cmbEdit.Text(), "");
    EXPECT_EQ(f.editClicks, 2);
    EXPECT_EQ(f.editChanges, 0);

    EXPECT_EQ(ErrorNumber([&] { f.cmbList.SetListIndex(3); }), 380);
    EXPECT_THROW(f.cmbList.SetListIndex(-2), EngineError);
    EXPECT_EQ(f.listClicks, 3);

    // Clear empties the list and the selection without raising anything.
    f.cmbEdit.SetListIndex(0);
    f.cmbEdit.Clear();
    EXPECT_EQ(f.cmbEdit.ListCount(), 0);
    EXPECT_EQ(f.cmbEdit.ListIndex(), -1);
    EXPECT_EQ(f.cmbEdit.Text(), "");
    EXPECT_EQ(f.editClicks, 3);

    // Adding entries keeps the selection and the typed text.
    f.cmbEdit.SetText("typed");
    f.cmbEdit.AddItem("4-Four");
    EXPECT_EQ(f.cmbEdit.Text(), "typed");
    EXPECT_EQ(f.cmbEdit.ListIndex(), -1);
    f.cmbList.SetListIndex(1);
    f.cmbList.AddItems({"5-Five", "6-Six"});
    EXPECT_EQ(f.cmbList.ListIndex(), 1);
    EXPECT_EQ(f.cmbList.ListCount(), 5);
}

TEST_F(ControlsTest, ComboOpenListShowsItsWidestEntryWhole) {
    auto& f = *form;
    f.Show();
    const std::string longEntry = "<-Less than the reporting limit, estimated below detection";
    for (ComboBox* combo : {&f.cmbEdit, &f.cmbList}) {
        SCOPED_TRACE(combo->Name());
        auto* box = qtOf<QComboBox>(*combo);
        QAbstractItemView* view = box->view();
        const int entryWidth =
            view->fontMetrics().horizontalAdvance(QString::fromStdString(longEntry));
        ASSERT_LT(box->width(), entryWidth);

        combo->AddItem(longEntry);
        box->showPopup();
        EXPECT_GE(view->viewport()->width(), entryWidth);
        box->hidePopup();
        // The closed box shows the chosen entry from its start, where the code stands.
        if (combo == &f.cmbEdit) {
            combo->SetListIndex(0);
            EXPECT_EQ(box->lineEdit()->cursorPosition(), 0);
            combo->SetListIndex(-1);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Down);
            ASSERT_EQ(combo->ListIndex(), 0);
            EXPECT_EQ(box->lineEdit()->cursorPosition(), 0);
        }

        // A long list scrolls (a list-only one may open as tall as the screen instead): the
        // scroll bar takes nothing from the entries.
        combo->AddItems(std::vector<std::string>(40, "3-Three"));
        box->showPopup();
        if (combo == &f.cmbEdit) {
            EXPECT_TRUE(view->verticalScrollBar()->isVisible());
        }
        EXPECT_GE(view->viewport()->width(), entryWidth);
        box->hidePopup();

        // Cleared and refilled with short entries, the list is as wide as the box again.
        combo->Clear();
        combo->AddItem("1-One");
        box->showPopup();
        EXPECT_LT(view->width(), entryWidth);
        EXPECT_LE(view->window()->width(), box->width() + 2);
        box->hidePopup();
    }
}

TEST_F(ControlsTest, ComboTextRules) {
    auto& f = *form;
    f.cmbEdit.SetText("abc");
    f.cmbEdit.SetText("abc");
    EXPECT_EQ(f.editChanges, 1);
    EXPECT_EQ(f.cmbEdit.Text(), "abc");
    // Text that is not the selected entry leaves no selection.
    f.cmbEdit.SetListIndex(0);
    f.cmbEdit.SetText("1-On");
    EXPECT_EQ(f.cmbEdit.ListIndex(), -1);
    EXPECT_EQ(f.cmbEdit.Text(), "1-On");

    // A list-only combo takes a text only as the choice of its entry.
    f.cmbList.SetText("3-Three");
    EXPECT_EQ(f.cmbList.ListIndex(), 2);
    EXPECT_EQ(f.listClicks, 1);
    f.cmbList.SetText("3-Three");
    EXPECT_EQ(f.listClicks, 1);
    EXPECT_EQ(ErrorNumber([&] { f.cmbList.SetText("nothing like it"); }), 383);
    EXPECT_EQ(f.listChanges, 0);
}

// A list slow to read is filled once, at its first read by the program or when the user
// could first see it, and not at all once cleared.
TEST_F(ControlsTest, ComboFilledWhenNeeded) {
    auto& f = *form;
    int fills = 0;
    auto fillOf = [&fills](ComboBox& c) {
        return [&fills, &c] {
            ++fills;
            c.Clear();
            c.AddItems({"7-Seven"}, {"7"});
        };
    };
    f.cmbEdit.FillWhenNeeded(fillOf(f.cmbEdit));
    EXPECT_EQ(fills, 0);
    EXPECT_EQ(f.cmbEdit.ItemCode(0), "7");
    EXPECT_EQ(f.cmbEdit.ListCount(), 1);
    EXPECT_EQ(fills, 1);
    f.cmbEdit.FillWhenNeeded(fillOf(f.cmbEdit));
    f.cmbEdit.Clear();
    EXPECT_EQ(f.cmbEdit.ListCount(), 0);

    ComboBox onPage(f.SSTab1.Page(2), "cmbOnPage", {300, 600, 1500, 315});
    onPage.FillWhenNeeded(fillOf(onPage));
    f.Show();
    EXPECT_EQ(fills, 1);
    f.SSTab1.SetTab(2);
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(qtOf<QComboBox>(onPage)->count(), 1);
}

TEST_F(ControlsTest, ComboUserActionsRaiseOnce) {
    auto& f = *form;
    // Choosing from the list with the keyboard is a user's choice: one Click, no Change.
    f.cmbList.SetListIndex(0);
    f.listClicks = 0;
    QTest::keyClick(qtOf<QComboBox>(f.cmbList), Qt::Key_Down);
    EXPECT_EQ(f.cmbList.ListIndex(), 1);
    EXPECT_EQ(f.listClicks, 1);
    EXPECT_EQ(f.listChanges, 0);

    // Typing into the editable combo: one Change per key, no Click; the selection goes.
    f.cmbEdit.SetListIndex(0);
    f.editClicks = 0;
    QLineEdit* edit = qtOf<QComboBox>(f.cmbEdit)->lineEdit();
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(f.editChanges, 2);
    EXPECT_EQ(f.editClicks, 0);
    EXPECT_EQ(f.cmbEdit.Text(), "1-Oneab");
    EXPECT_EQ(f.cmbEdit.ListIndex(), -1);
}

TEST_F(ControlsTest, TextBoxChangeOnlyWhenTextDiffers) {
    auto& f = *form;
    f.txtName.SetText("");
    EXPECT_EQ(f.nameChanges, 0);
    f.txtName.SetText("abc");
    f.txtName.SetText("abc");
    EXPECT_EQ(f.nameChanges, 1);
    f.txtNotes.SetText("line 1\nline 2");
    f.txtNotes.SetText("line 1\nline 2");
    EXPECT_EQ(f.notesChanges, 1);
    EXPECT_EQ(f.txtNotes.Text(), "line 1\nline 2");

    // The user's typing: one Change per key in either kind of box.
    QTest::keyClicks(qtOf<QLineEdit>(f.txtName), "de");
    EXPECT_EQ(f.txtName.Text(), "abcde");
    EXPECT_EQ(f.nameChanges, 3);
    auto* notes = qtOf<QPlainTextEdit>(f.txtNotes);
    notes->moveCursor(QTextCursor::End);
    QTest::keyClicks(notes, "!");
    EXPECT_EQ(f.notesChanges, 2);
    EXPECT_EQ(f.txtNotes.Text(), "line 1\nline 2!");

    f.txtName.SetLocked(true);
    QTest::keyClicks(qtOf<QLineEdit>(f.txtName), "z");
    EXPECT_EQ(f.txtName.Text(), "abcde");
}

TEST_F(ControlsTest, ClicksEnterAndEscPressButtonsThatAreEnabled) {
    auto& f = *form;
    f.cmdOK.SetDefault(true);
    f.cmdCancel.SetCancel(true);
    f.Show();
    auto* name = qtOf<QLineEdit>(f.txtName);
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(f.okClicks, 1);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(f.cancelClicks, 1);
    // A key Qt passes on to the parents is still handled once.
    QTest::keyClick(qtOf<QComboBox>(f.cmbEdit)->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(f.okClicks, 2);

    QTest::mouseClick(qtOf<QPushButton>(f.cmdOK), Qt::LeftButton);
    EXPECT_EQ(f.okClicks, 3);
    f.cmdOK.SetEnabled(false);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::mouseClick(qtOf<QPushButton>(f.cmdOK), Qt::LeftButton);
    EXPECT_EQ(f.okClicks, 3);
    f.cmdOK.SetEnabled(true);
    f.cmdCancel.SetDefault(true);  // one default button per window
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(f.okClicks, 3);
    EXPECT_EQ(f.cancelClicks, 2);
    // Enter on a focused button presses that one instead.
    QTest::keyClick(f.cmdOK.widget(), Qt::Key_Return);
    EXPECT_EQ(f.okClicks, 4);
    EXPECT_EQ(f.cancelClicks, 2);
}

TEST_F(ControlsTest, GotAndLostFocusWhenFocusMovesBetweenControlsOnly) {
    auto& f = *form;
    std::vector<std::string> seen;
    f.txtName.GotFocus = [&] { seen.push_back("got"); };
    f.txtName.LostFocus = [&] { seen.push_back("lost"); };
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    f.txtName.SetFocus();
    f.txtNotes.SetFocus();
    EXPECT_EQ(seen, (std::vector<std::string>{"got", "lost"}));

    // Another window taking the keyboard for a while neither leaves the box nor enters it.
    f.txtName.SetFocus();
    seen.clear();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    ASSERT_TRUE(f.txtName.widget()->hasFocus());
    EXPECT_TRUE(seen.empty());
    QTest::keyClick(f.txtName.widget(), Qt::Key_Tab);
    EXPECT_EQ(seen, (std::vector<std::string>{"lost"}));
}

TEST_F(ControlsTest, KeyPreviewSeesCharactersFirst) {
    auto& f = *form;
    f.Show();
    auto* name = qtOf<QLineEdit>(f.txtName);
    QTest::keyClicks(name, "ab");
    EXPECT_TRUE(f.keys.empty());  // preview is off

    f.SetKeyPreview(true);
    QTest::keyClicks(name, "cx");
    QTest::keyClick(name, Qt::Key_Left);  // produces no character
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(f.keys, (std::vector<int>{'c', 'x', 13}));
    EXPECT_EQ(f.txtName.Text(), "abc");  // x was swallowed

    // A label ignores keys, so Qt hands the press on to each parent: still one KeyPress.
    f.keys.clear();
    QTest::keyClick(f.lblOnTwo.widget(), Qt::Key_Q, Qt::NoModifier);
    EXPECT_EQ(f.keys, (std::vector<int>{'q'}));
}

TEST_F(ControlsTest, TabClickOnChangeAndPagesHoldControls) {
    auto& f = *form;
    EXPECT_EQ(f.SSTab1.Tab(), 0);
    f.SSTab1.SetTab(0);
    EXPECT_EQ(f.tabClicks, 0);
    f.SSTab1.SetTab(2);
    EXPECT_EQ(f.tabClicks, 1);
    EXPECT_THROW(f.SSTab1.SetTab(3), EngineError);

    f.Show();
    QTabBar* bar = qtOf<QTabWidget>(f.SSTab1)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    EXPECT_EQ(f.tabClicks, 2);

    // A control on a page not in front is still Visible as designed, and keeps its place.
    f.SSTab1.SetTab(0);
    EXPECT_TRUE(f.lblOnTwo.Visible());
    EXPECT_EQ(f.lblOnTwo.Left(), 300);
    EXPECT_EQ(&f.lblOnTwo.form(), &f);
}

TEST_F(ControlsTest, CtrlPageKeysStepThroughTheTabsAsClicksDo) {
    auto& f = *form;
    TextBox txtOnOne(f.SSTab1.Page(0), "txtOnOne", "", {300, 600, 1500, 315});
    std::vector<std::string> seen;
    txtOnOne.LostFocus = [&] { seen.push_back("lost"); };
    f.SSTab1.Click = [&] {
        seen.push_back("click " + std::to_string(f.SSTab1.Tab()));
        // The handler runs with the focus where a click leaves it.
        EXPECT_FALSE(txtOnOne.widget()->hasFocus());
    };
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    QTabBar* bar = qtOf<QTabWidget>(f.SSTab1)->tabBar();

    txtOnOne.SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return txtOnOne.widget()->hasFocus(); }));
    QTest::keyClick(txtOnOne.widget(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"lost", "click 1"}));
    EXPECT_EQ(QApplication::focusWidget(), bar);

    // On from the strip, round past the last tab, and back past the first.
    seen.clear();
    for (int i = 0; i < 2; ++i) QTest::keyClick(bar, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(f.SSTab1.Tab(), 0);
    QTest::keyClick(bar, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(f.SSTab1.Tab(), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"click 2", "click 0", "click 2"}));

    // Outside the tab control the keys belong to the focused control.
    f.txtName.SetFocus();
    QTest::keyClick(f.txtName.widget(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(f.SSTab1.Tab(), 2);
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ControlsTest, ADateTypedAsAWholeIsTheDateTyped) {
    auto& f = *form;
    f.DTPicker1.SetValue(DateTime{2004, 1, 14, 9, 30, 0});
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    auto* edit = qtOf<QDateTimeEdit>(f.DTPicker1);
    auto* line = edit->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    // Each row: the typed text, then the date the picker holds.
    struct Case {
        const char* typed;
        DateTime expected;
    } cases[] = {
        {"12/6/2026", {2026, 12, 6, 9, 30, 0}}, {"3/5/04", {2004, 3, 5, 9, 30, 0}},  // a short year
        {"7", {2004, 7, 5, 9, 30, 0}},          // a month alone keeps the day and the year
        {"2/30/2004", {2004, 7, 5, 9, 30, 0}},  // not a date: the picker keeps its date
        {"13/1/2004", {2004, 7, 5, 9, 30, 0}},
    };
    bool fromStart = false;  // over the whole text selected, or from the start of the box
    for (const auto& c : cases) {
        f.DTPicker1.SetFocus();
        fromStart = !fromStart;
        if (fromStart)
            QTest::keyClick(edit, Qt::Key_Home);
        else
            line->selectAll();
        typeLikeAKeyboard(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        // Tab goes on to the next control, where typing cannot change this date.
        EXPECT_FALSE(edit->hasFocus()) << c.typed;
        EXPECT_EQ(f.DTPicker1.Value(), c.expected) << c.typed;
        EXPECT_EQ(line->text().toStdString(),
                  DateToText(DateTime{c.expected.year, c.expected.month, c.expected.day}))
            << c.typed;
    }
    // One change for each date taken (and one for the value set first), none for the others.
    EXPECT_EQ(f.dateChanges, 4);
}

TEST_F(ControlsTest, ATimeTypedAsAWholeIsTheTimeTyped) {
    auto& f = *form;
    f.DTPicker2.SetValue(DateTime{2004, 1, 14, 13, 38, 15});
    f.Show();
    QApplication::setActiveWindow(f.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window()));
    auto* edit = qtOf<QDateTimeEdit>(f.DTPicker2);
    auto* line = edit->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    // Each row: the typed text (from the start of the box), then the time the picker holds; the
    // date and the unshown seconds always stay.
    struct Case {
        const char* typed;
        int hour, minute;
        const char* shown;
    } cases[] = {
        {"9:05 AM", 9, 5, "9:05 AM"},  // the hour the edit's own typing lost behind "1"
        {"11:45pm", 23, 45, "11:45 PM"}, {"12:00 AM", 0, 0, "12:00 AM"},
        {"12:30 p", 12, 30, "12:30 PM"}, {"14:30", 14, 30, "2:30 PM"},  // 24-hour
        {"905a", 9, 5, "9:05 AM"},       {"7 PM", 19, 0, "7:00 PM"},
        {"13:00 PM", 19, 0, "7:00 PM"},  // not a time: the picker keeps its time
        {"9:5", 19, 0, "7:00 PM"},       {"24:00", 19, 0, "7:00 PM"},
        {"9:60", 19, 0, "7:00 PM"},
    };
    for (const auto& c : cases) {
        f.DTPicker2.SetFocus();
        line->setCursorPosition(0);
        typeLikeAKeyboard(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(f.DTPicker2.Value(), (DateTime{2004, 1, 14, c.hour, c.minute, 15})) << c.typed;
        EXPECT_EQ(line->text().toStdString(), c.shown) << c.typed;
    }
    // One change for each time taken (and one for the value set first), none for the others.
    EXPECT_EQ(f.timeChanges, 8);
}

TEST_F(ControlsTest, DatePickerKeepsTheHiddenParts) {
    auto& f = *form;
    const DateTime morning{2004, 3, 4, 10, 30, 15};
    f.DTPicker1.SetValue(morning);
    EXPECT_EQ(f.dateChanges, 1);
    f.DTPicker1.SetValue(morning);
    EXPECT_EQ(f.dateChanges, 1);
    EXPECT_THROW(f.DTPicker1.SetValue(DateTime{2004, 2, 30}), EngineError);

    // The user picks another day: the time of day stays.
    qtOf<QDateTimeEdit>(f.DTPicker1)->setDate(QDate(2005, 12, 31));
    EXPECT_EQ(f.DTPicker1.Value(), (DateTime{2005, 12, 31, 10, 30, 15}));
    EXPECT_EQ(f.dateChanges, 2);

    // The user sets a time: the date (and the unshown seconds) stay.
    f.DTPicker2.SetValue(morning);
    qtOf<QDateTimeEdit>(f.DTPicker2)->setTime(QTime(14, 5));
    EXPECT_EQ(f.DTPicker2.Value(), (DateTime{2004, 3, 4, 14, 5, 15}));
    EXPECT_EQ(f.timeChanges, 2);
    EXPECT_EQ(qtOf<QDateTimeEdit>(f.DTPicker2)->text(), "2:05 PM");
    EXPECT_EQ(qtOf<QDateTimeEdit>(f.DTPicker1)->text(), "12/31/2005");
}

TEST_F(ControlsTest, GeometryInTwips) {
    auto& f = *form;
    // Values that are not whole pixels read back as set.
    f.txtName.Move(1000, 2010, 1234, 333);
    EXPECT_EQ(f.txtName.Left(), 1000);
    EXPECT_EQ(f.txtName.Top(), 2010);
    EXPECT_EQ(f.txtName.Width(), 1234);
    EXPECT_EQ(f.txtName.Height(), 333);
    EXPECT_EQ(f.txtName.widget()->geometry(), QRect(67, 134, 82, 22));
    f.txtName.Move(1500, 1500);  // size kept
    EXPECT_EQ(f.txtName.Width(), 1234);
    f.txtName.SetWidth(3000);
    f.txtName.SetHeight(450);
    EXPECT_EQ(f.txtName.widget()->size(), QSize(200, 30));
    // Moved from outside: the widget's own geometry counts.
    f.txtName.widget()->move(10, 20);
    EXPECT_EQ(f.txtName.Left(), 150);
    EXPECT_EQ(f.txtName.Top(), 300);

    // Inside a frame, positions are from the frame's corner.
    EXPECT_EQ(f.Check1.widget()->parentWidget(), f.Frame1.widget());
    EXPECT_EQ(f.Check1.widget()->pos(), QPoint(8, 20));
    EXPECT_EQ(f.Check1.Left(), 120);
}
