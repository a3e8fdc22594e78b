#include "Dialogs.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "App.h"
#include "CommandButton.h"
#include "CommonDialog.h"
#include "Database.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "Form.h"
#include "RowStream.h"
#include "TestSupport.h"

using namespace controls;
using namespace platform;

namespace {

class GuardTest : public ::testing::Test {
  protected:
    void SetUp() override { dialogs = testing_support::ScriptDialogs(); }
    void TearDown() override { testing_support::ResetProgram(); }
    std::shared_ptr<ScriptedDialogs> dialogs;
};

class ButtonForm : public Form {
  public:
    ButtonForm()
        : Form("frmButton", "Button"), cmdGo(*this, "cmdGo", "Go", {120, 120, 1200, 400}) {}
    CommandButton cmdGo;
};

}  // namespace

TEST_F(GuardTest, OutermostHandlerErrorsBecomeOneMessage) {
    RaiseEvent([] { throw EngineError(3021, "No current record."); });
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "Error 3021: No current record.");
    EXPECT_EQ(dialogs->prompts[0].buttons, mb::Critical);
    EXPECT_EQ(dialogs->prompts[0].title, AppTitle());
    EXPECT_FALSE(InEvent());

    RaiseEvent([] { throw std::runtime_error("bad index"); });
    EXPECT_EQ(dialogs->prompts.back().text, "Error 51: Internal error: bad index");
    RaiseEvent([] { throw 42; });
    EXPECT_EQ(dialogs->prompts.back().text, "Error 51: Internal error");

    RaiseEvent(nullptr);  // a control without a handler
    RaiseEvent([] {});
    EXPECT_EQ(dialogs->prompts.size(), 3u);
}

TEST_F(GuardTest, NestedHandlerErrorsReachTheCaller) {
    bool caught = false;
    bool inside = false;
    RaiseEvent([&] {
        inside = InEvent();
        try {
            RaiseEvent([] { throw EngineError(13, "Type mismatch"); });
        } catch (const EngineError& e) {
            caught = e.Number() == 13;
        }
    });
    EXPECT_TRUE(inside);
    EXPECT_TRUE(caught);
    EXPECT_TRUE(dialogs->prompts.empty());

    // Uncaught in between, it is reported once, by the outermost guard.
    RaiseEvent([] { RaiseEvent([] { RaiseEvent([] { throw EngineError(5, "x"); }); }); });
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "Error 5: x");
    EXPECT_FALSE(InEvent());
}

TEST_F(GuardTest, EndIsNeverSwallowed) {
    int ends = 0;
    SetEndHandler([&] { ++ends; });
    bool after = false;
    EXPECT_THROW(RaiseEvent([&] {
                     RaiseEvent([] { End(); });
                     after = true;
                 }),
                 ProgramEnded);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(after);
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_FALSE(InEvent());
}

TEST_F(GuardTest, UserEventsNeverLetErrorsIntoQt) {
    ButtonForm form;
    auto* button = static_cast<QPushButton*>(form.cmdGo.widget());
    form.cmdGo.Click = [] { throw EngineError(3022, "Duplicate key"); };
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "Error 3022: Duplicate key");

    // A program end from a user's click stops there too; the end handler saw it.
    int ends = 0;
    SetEndHandler([&] { ++ends; });
    form.cmdGo.Click = [] { End(); };
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(ends, 1);

    // Pressed from code inside a handler, the click is nested: its error reaches the caller.
    form.cmdGo.Click = [] { throw EngineError(3022, "Duplicate key"); };
    bool caught = false;
    RaiseEvent([&] {
        try {
            form.cmdGo.Press();
        } catch (const EngineError&) {
            caught = true;
        }
    });
    EXPECT_TRUE(caught);
    EXPECT_EQ(dialogs->prompts.size(), 1u);
}

TEST(QtFileFilterTest, ClassicPairsBecomeQtFilters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Access Database (*.mdb)|*.mdb", "Access Database (*.mdb)"},
        {"Databases|*.db;*.mdb|All Files (*.*)|*.*", "Databases (*.db *.mdb);;All Files (*.*)"},
        {"Text (old)|*.txt", "Text (*.txt)"},
        {"|*.csv", "*.csv (*.csv)"},
        {"", ""},
        {"Unpaired", ""},
    };
    for (const auto& [classic, qt] : cases) EXPECT_EQ(QtFileFilter(classic), qt) << classic;
}

TEST(AppTest, PathHasNoTrailingSlash) {
    const std::string original = AppPath();
    EXPECT_FALSE(original.empty());
    EXPECT_NE(original.back(), '/');
    SetAppPath("/opt/loader/");
    EXPECT_EQ(AppPath(), "/opt/loader");
    SetAppPath(original);
}

TEST_F(GuardTest, AReadAHandlerLeftUnfinishedDoesNotLockOutOtherPrograms) {
    testing_support::TempDir dir;
    auto db = dir.NewDatabase("create table t (id integer); insert into t values (1), (2), (3);");
    RaiseEvent([&] {
        RowStream rows(*db, "select id from t order by id");
        ASSERT_TRUE(rows.Next());
        EXPECT_EQ(rows.Value("id").toInteger(), 1);
    });  // a click's handler is over, its read stopped at the first row

    auto other = Database::OpenDatabase(dir.file("test.db"));
    sqlite3_busy_timeout(other->handle(), 0);  // fail at once instead of waiting for the lock
    EXPECT_NO_THROW(other->Execute("insert into t (id) values (?)", {4}));
    EXPECT_EQ(testing_support::QueryValue(*db, "select count(*) from t"), "4");
}

namespace {

QProgressDialog* shownProgress() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

}  // namespace

// The export's progress as the user meets it: nothing for a short export; for a long one a
// dialog counting samples whose Cancel stops the export at its next step.
TEST(ProgressDialogTest, ShowsLateCountsAndCancels) {
    using std::this_thread::sleep_for;
    controls::QtDialogs dialogs;
    {
        auto quick = dialogs.Progress("Exporting samples...", 10);
        for (int i = 1; i <= 10; ++i) EXPECT_TRUE(quick->Step(i));
        EXPECT_EQ(shownProgress(), nullptr);
    }
    auto slow = dialogs.Progress("Exporting samples...", 1000);
    EXPECT_TRUE(slow->Step(1));
    EXPECT_EQ(shownProgress(), nullptr);
    sleep_for(std::chrono::milliseconds(550));
    EXPECT_TRUE(slow->Step(400));
    QProgressDialog* shown = shownProgress();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->labelText(), "Exporting samples...");
    EXPECT_EQ(shown->maximum(), 1000);
    EXPECT_EQ(shown->value(), 400);

    const auto buttons = shown->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "Cancel");
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(slow->Step(401));
    EXPECT_FALSE(slow->Step(402));  // stays cancelled between updates
    slow.reset();
    EXPECT_EQ(shownProgress(), nullptr);
}
