// The first start, when no data file is remembered yet, and a change of data file later in
// the day, through the real windows and the menu bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <functional>

#include "App.h"
#include "Connection.h"
#include "Database.h"
#include "MDIMain.h"
#include "TestSupport.h"
#include "UserActions.h"
#include "Walk.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmSplash.h"

using namespace e2e;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// Choosing, moving and replacing files: the server side has its own tests.
class DataFile : public ::testing::Test {
  protected:
    void SetUp() override {
        SKIP_ON_SERVER();
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        store::setDb(nullptr);
        std::filesystem::create_directories(dir.path() / "other folder");
        MakeOfficeDatabase(first());
        MakeOfficeDatabase(second());
    }
    void TearDown() override { testing_support::ResetApp(); }

    std::string first() const { return dir.file("first.db"); }
    std::string second() const { return (dir.path() / "other folder" / "second.db").string(); }
    std::string location() const { return dir.file("datalocation.txt"); }

    // Hand-entered samples in a data file, read through a connection of its own.
    static std::string HandEntered(const std::string& file) {
        return testing_support::QueryValue(*store::OpenDataFile(file),
                                           "select count(*) from tblsample where idloc = 'V'");
    }
    // Every prompt shown since the last call, and forgets them: a file dialog by its title
    // ("file: ..."), a message by its text.
    std::vector<std::string> Prompts() {
        std::vector<std::string> shown;
        for (const auto& p : dialogs->prompts)
            shown.push_back(p.buttons == -1 ? "file: " + p.file.title : p.text);
        dialogs->clear();
        return shown;
    }

    TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(DataFile, FirstStartAsksForTheFileAndALaterChangeIsWorkedOn) {
    ASSERT_FALSE(std::filesystem::exists(location()));

    // First start: nothing remembered, so Continue asks for the data file.
    dialogs->files.push_back(first());
    {
        controls::FormInstance<app::frmSplash> splash;
        splash().Show();
        ASSERT_NO_FATAL_FAILURE(Click(splash().cmdContinue));
    }
    ASSERT_TRUE(app::MainWindowLoaded());
    auto& main = app::MainWindow();
    QWidget* mainWindow = main.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow));
    EXPECT_EQ(Prompts(), Texts{"file: Database Location"});
    EXPECT_EQ(main.StatusText(), "Data file: " + first());
    EXPECT_EQ(ReadFile(location()), first() + "\r\n");

    // The Data Loader is open on the first file when the file changes.
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(mainWindow, "Data", "View or Add Data"));
    ASSERT_TRUE(loader::DataLoaderWindow().IsLoaded());
    EXPECT_EQ(Prompts(), Texts{});
    platform::Database::OpenDatabase(second())->Execute(
        "insert into tblprojects_programs (project_code, program_project) values (?, ?)",
        {"NEW", "Only in the second file"});

    // Data > Change Data File Location: the second file, in a folder with a blank in its name.
    dialogs->files.push_back(second());
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(mainWindow, "Data", "Change Data File Location"));
    EXPECT_EQ(Prompts(), Texts{"file: Database Location"});
    EXPECT_EQ(main.StatusText(), "Data file: " + second());
    EXPECT_EQ(ReadFile(location()), second() + "\r\n");
    // Its lists came from the old file, so it closed; it opens afresh on the new one.
    EXPECT_FALSE(loader::DataLoaderWindow().IsLoaded());

    // Data > View or Add Data works on the second file: a sample keyed in lands there.
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(mainWindow, "Data", "View or Add Data"));
    auto* f = loader::DataLoaderWindow().get();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(WaitFor([&] { return f->CmdAddSample.widget()->isVisible(); }));
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "Sample");
    EXPECT_EQ(f->cmbProject_Code.List(f->cmbProject_Code.ListCount() - 1),
              "NEW-Only in the second file");
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbProject_Code, "LKM"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbStation_id, "105"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbMedium, "W"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->CMBSample_Type, "G"));
    ASSERT_NO_FATAL_FAILURE(Click(f->CmdAddSample));
    EXPECT_EQ(Prompts(), Texts{});
    EXPECT_EQ(f->lblCode.Caption(), "3");
    EXPECT_EQ(f->lblProject.Caption(), "LKM-Lake Monitoring Program");
    EXPECT_EQ(HandEntered(second()), "3");
    EXPECT_EQ(HandEntered(first()), "2");
    EXPECT_TRUE(dialogs->files.empty()) << "a scripted answer was never asked for";
}

TEST_F(DataFile, EachWayOfChangingTheFileAsksBeforeATypedResultIsLost) {
    testing_support::WriteFile(location(), first() + "\r\n");
    auto& main = app::MainWindow();
    main.mnuAdd_Click();
    auto* f = loader::DataLoaderWindow().get();
    ASSERT_NE(f, nullptr);
    f->TXTGrade.SetText("A");
    const std::string ask = "The result typed has not been stored.\n\nDiscard it?";
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"file",
         [&] {
             dialogs->files.push_back(second());
             main.mnuChange_Click();
         }},
        {"recent", [&] { main.mnuRecent_Click(0); }},
        {"server",
         [&] {
             dialogs->files.push_back("postgresql:///none?host=" + dir.file("no-server"));
             main.mnuServer_Click();
         }},
    };
    for (const auto& [way, choose] : ways) {
        Prompts();
        dialogs->answers = {controls::mb::No};
        choose();
        EXPECT_EQ(Prompts().back(), ask) << way;
        EXPECT_EQ(main.StatusText(), "Data file: " + first()) << way;
        EXPECT_EQ(loader::DataLoaderWindow().get(), f) << way;
        EXPECT_EQ(f->TXTGrade.Text(), "A") << way;
    }
    dialogs->files.push_back(second());
    main.mnuChange_Click();  // answered Yes
    EXPECT_EQ(main.StatusText(), "Data file: " + second());
    EXPECT_FALSE(loader::DataLoaderWindow().IsLoaded());
}
