#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "CommandButton.h"
#include "EngineError.h"
#include "Form.h"
#include "FormWidget.h"
#include "Label.h"
#include "Menu.h"
#include "TestSupport.h"

using namespace controls;
using namespace platform;

namespace {

int live_forms = 0;

class ChildForm : public Form {
  public:
    ChildForm()
        : Form("frmChild", "Child"),
          lblTitle(*this, "lblTitle", "A child window", {120, 120, 3000, 300}),
          cmdExit(*this, "cmdExit", "Exit", {120, 600, 1200, 400}) {
        ++live_forms;
        SetClientSize(6000, 4500);
        cmdExit.Click = [this] {
            Unload();
            exitReturned = true;  // the form is still alive here
        };
    }
    ~ChildForm() override { --live_forms; }
    void Form_Load() override { ++loads; }
    void Form_Unload() override {
        ++unloads;
        if (failUnload) throw EngineError(3420, "Object invalid or no longer set.");
    }
    void Form_Resize() override { ++resizes; }

    Label lblTitle;
    CommandButton cmdExit;
    int loads = 0, unloads = 0, resizes = 0;
    bool failUnload = false;
    bool exitReturned = false;
};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, 0); }

bool isPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[8] = {};
    in.read(magic, 8);
    return std::filesystem::file_size(path) > 100 && std::string(magic + 1, 3) == "PNG";
}

class FormsTest : public ::testing::Test {
  protected:
    void SetUp() override { dialogs = testing_support::ScriptDialogs(); }
    void TearDown() override { flushDeletes(); }
    std::shared_ptr<ScriptedDialogs> dialogs;
};

}  // namespace

TEST_F(FormsTest, FormInstanceIsSingleAndDroppedAfterItsHandler) {
    FormInstance<ChildForm> frmChild;
    EXPECT_FALSE(frmChild.IsLoaded());
    ChildForm& first = frmChild();
    EXPECT_EQ(&frmChild(), &first);
    EXPECT_EQ(first.loads, 1);
    EXPECT_TRUE(frmChild.IsLoaded());
    const int before = live_forms;

    // Exit unloads the form inside its own click handler.
    QTest::mouseClick(static_cast<QPushButton*>(first.cmdExit.widget()), Qt::LeftButton);
    EXPECT_TRUE(first.exitReturned);
    EXPECT_EQ(first.unloads, 1);
    EXPECT_FALSE(frmChild.IsLoaded());
    EXPECT_EQ(frmChild.get(), nullptr);
    EXPECT_EQ(live_forms, before);  // not deleted yet
    flushDeletes();
    EXPECT_EQ(live_forms, before - 1);

    // The next use loads a fresh one.
    ChildForm& second = frmChild();
    EXPECT_EQ(second.loads, 1);
    EXPECT_TRUE(frmChild.IsLoaded());
    EXPECT_EQ(live_forms, before);

    // The window's close button unloads it too.
    second.Show();
    second.window()->close();
    EXPECT_FALSE(frmChild.IsLoaded());
}

TEST_F(FormsTest, UnloadRunsFormUnloadOnceAndIgnoresItsErrors) {
    ChildForm form;
    form.Show();
    form.failUnload = true;
    form.SetMousePointer(11);
    form.Unload();
    form.Unload();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_TRUE(form.IsUnloaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormsTest, MousePointerStaysBalanced) {
    ChildForm a;
    ChildForm b;
    a.SetMousePointer(11);
    a.SetMousePointer(11);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    b.SetMousePointer(11);
    a.SetMousePointer(0);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);  // b is still busy
    b.SetMousePointer(0);
    b.SetMousePointer(0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(a.MousePointer(), 0);

    MdiForm main("MDIMain", "Main");
    main.SetMousePointer(11);
    main.SetMousePointer(11);
    main.SetMousePointer(0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        ChildForm busy;
        busy.SetMousePointer(11);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormsTest, ChildFormsLiveInTheMainWindow) {
    MdiForm main("MDIMain", "Main");
    EXPECT_EQ(MdiForm::host(), &main);
    main.Show();
    ChildForm child;
    child.Show();
    auto* area = static_cast<QMainWindow*>(main.window())->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(child.window(), area->subWindowList().front());
    EXPECT_TRUE(child.Visible());
    // Shown again, it is brought forward, not placed twice.
    ChildForm other;
    other.Show();
    child.Show();
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->activeSubWindow(), child.window());

    // Outer size includes the frame; the inner size is the design size.
    EXPECT_EQ(child.ScaleWidth(), 6000);
    EXPECT_EQ(child.ScaleHeight(), 4500);
    EXPECT_GT(child.Width(), child.ScaleWidth());
    EXPECT_GT(child.Height(), child.ScaleHeight());
    const int frameWidth = child.Width() - child.ScaleWidth();
    const int resizes = child.resizes;
    child.SetWidth(9000);
    EXPECT_EQ(child.Width(), 9000);
    EXPECT_EQ(child.ScaleWidth(), 9000 - frameWidth);
    EXPECT_GT(child.resizes, resizes);
    child.Move(300, 450);
    EXPECT_EQ(child.Left(), 300);
    EXPECT_EQ(child.Top(), 450);
    EXPECT_EQ(child.Width(), 9000);

    child.Unload();
    EXPECT_FALSE(child.window()->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A fixed window cannot be resized by the user, yet the program may still size it.
TEST_F(FormsTest, AFixedWindowIsSizedByTheProgramOnly) {
    ChildForm form;
    form.Show();
    EXPECT_TRUE(form.window()->isWindow());
    form.SetBorder(Form::Border::FixedDialog);
    EXPECT_EQ(form.window()->minimumSize(), form.window()->maximumSize());
    form.SetClientSize(3000, 1500);
    EXPECT_EQ(form.ScaleWidth(), 3000);
}

TEST_F(FormsTest, SnapshotsArePngFiles) {
    testing_support::TempDir dir;
    ChildForm unshown;
    ASSERT_TRUE(unshown.SaveSnapshot(dir.file("unshown.png")));
    EXPECT_TRUE(isPng(dir.file("unshown.png")));
    EXPECT_FALSE(unshown.Visible());  // shown only for the picture

    MdiForm main("MDIMain", "Main");
    ChildForm child;
    child.Show();
    ASSERT_TRUE(child.SaveSnapshot(dir.file("child.png")));
    ASSERT_TRUE(main.SaveSnapshot(dir.file("main.png")));
    EXPECT_TRUE(isPng(dir.file("child.png")));
    EXPECT_TRUE(isPng(dir.file("main.png")));
    EXPECT_FALSE(main.window()->isVisible());
}

TEST_F(FormsTest, MenusRaiseClickThroughTheGuard) {
    Menu mnuFile("mnuFile", "&File");
    MenuItem& exit = mnuFile.AddItem("MnuExit", "E&xit");
    mnuFile.AddSeparator();
    MenuItem& other = mnuFile.AddItem("mnuOther", "Other");
    int clicks = 0;
    exit.Click = [&] { ++clicks; };
    other.Click = [] { throw EngineError(3024, "Could not find file."); };

    exit.Trigger();
    exit.action()->trigger();  // as the user's choice arrives
    EXPECT_EQ(clicks, 2);
    exit.SetEnabled(false);
    exit.Trigger();
    EXPECT_EQ(clicks, 2);
    other.action()->trigger();
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "Error 3024: Could not find file.");
}
