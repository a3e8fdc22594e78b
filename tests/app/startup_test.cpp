#include <gtest/gtest.h>
#include <unistd.h>

#include "App.h"
#include "AppSupport.h"
#include "Connection.h"
#include "Database.h"
#include "MDIMain.h"
#include "RememberedLocation.h"
#include "Schema.h"
#include "Windows.h"
#include "frmExport.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class Startup : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        store::setDb(nullptr);
        { store::CreateEmptyDatabase(dir.file("water.db")); }
        { store::CreateEmptyDatabase(dir.file("other.db")); }
    }
    void TearDown() override { testing_support::ResetApp(); }
    std::string location() const { return dir.file("datalocation.txt"); }
    std::string openName() const { return store::db() ? store::db()->Name() : ""; }
    const controls::ScriptedDialogs::Prompt* fileDialog() const {
        for (const auto& p : dialogs->prompts)
            if (p.buttons == -1) return &p;
        return nullptr;
    }

    TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
};

}  // namespace

TEST_F(Startup, FirstRunAsksForTheFileRemembersItAndTheNextStartDoesNotAsk) {
    dialogs->files.push_back(dir.file("water.db"));
    app::MainWindow();

    const auto* asked = fileDialog();
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->file.title, "Database Location");
    EXPECT_EQ(asked->file.initDir, dir.path().string());
    EXPECT_EQ(asked->file.defaultExt, "db");
    EXPECT_EQ(asked->file.filter, "Data Loader database (*.db)|*.db|All files (*)|*");

    app::ResetMainWindow();
    store::setDb(nullptr);
    dialogs->prompts.clear();
    app::MainWindow();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(openName(), dir.file("water.db"));
}

TEST_F(Startup, ALocationThatDoesNotOpenIsAskedForAgainAndRewritten) {
    for (const std::string& line : {dir.file("gone.db") + "\r\n",
                                    // read only up to the comma, so this never opens
                                    dir.file("water.db").insert(dir.path().string().size(), ",")}) {
        WriteFile(location(), line);
        dialogs->prompts.clear();
        dialogs->files.push_back(dir.file("other.db"));
        app::ResetMainWindow();
        app::MainWindow();
        EXPECT_NE(fileDialog(), nullptr) << line;
        EXPECT_EQ(ReadFile(location()), dir.file("other.db") + "\r\n");
        EXPECT_EQ(openName(), dir.file("other.db"));
    }
}

TEST_F(Startup, AFileThatIsNotADatabaseIsRefusedAndNeverCreated) {
    WriteFile(dir.file("notes.db"), "just some text, not a database");
    WriteFile(location(), dir.file("notes.db") + "\r\n");
    dialogs->files.push_back(dir.file("missing.db"));
    app::MainWindow();
    EXPECT_EQ(store::db(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.db")));
    // The user is told the chosen file did not open.
    ASSERT_FALSE(dialogs->texts().empty());
    EXPECT_NE(dialogs->texts().back().find("could not be opened"), std::string::npos);
}

TEST_F(Startup, AFolderChosenAsTheDataFileIsNamedAsAFolder) {
    const std::string folder = dir.file("data");
    std::filesystem::create_directory(folder);
    const std::string said = "'" + folder + "' is a folder, not a data file.";
    dialogs->files.push_back(folder);  // at start-up, nothing remembered
    auto& main = app::MainWindow();
    ASSERT_FALSE(dialogs->texts().empty());
    EXPECT_NE(dialogs->texts().back().find(said), std::string::npos) << dialogs->texts().back();

    dialogs->files.push_back(folder);
    main.mnuChange_Click();
    EXPECT_NE(dialogs->texts().back().find(said), std::string::npos) << dialogs->texts().back();
}

TEST_F(Startup, CancelledRecoveryKeepsTheLocationFileAndRunsWithoutADatabase) {
    WriteFile(location(), dir.file("gone.db") + "\r\n");
    app::MainWindow();  // the file queue is empty: the dialog is cancelled
    EXPECT_EQ(ReadFile(location()), dir.file("gone.db") + "\r\n");
    EXPECT_EQ(store::db(), nullptr);
    EXPECT_EQ(app::MainWindow().StatusText(), "No data file is open");

    // Without a database the windows that need one say so and open nothing.
    dialogs->prompts.clear();
    app::MainWindow().mnuAdd_Click();
    app::MainWindow().mnuExport_Click();
    app::MainWindow().mnuImportAccess_Click();
    EXPECT_FALSE(loader::DataLoaderWindow().IsLoaded());
    EXPECT_FALSE(exporter::ExportWindow().IsLoaded());
    EXPECT_FALSE(accessdb::ImportAccessWindow().IsLoaded());
    ASSERT_EQ(dialogs->prompts.size(), 3u);
    EXPECT_NE(dialogs->prompts[0].text.find("Change Data File Location"), std::string::npos);
}

TEST_F(Startup, ChangeDataFileLocation) {
    WriteFile(location(), dir.file("water.db") + "\r\n");
    auto& main = app::MainWindow();
    ASSERT_EQ(openName(), dir.file("water.db"));

    // Cancel: nothing changes.
    main.mnuChange_Click();
    EXPECT_EQ(openName(), dir.file("water.db"));
    EXPECT_EQ(ReadFile(location()), dir.file("water.db") + "\r\n");

    // A file that does not open: reported, the old line and the old database kept.
    dialogs->prompts.clear();
    dialogs->files.push_back(dir.file("gone.db"));
    main.mnuChange_Click();
    EXPECT_EQ(openName(), dir.file("water.db"));
    EXPECT_EQ(ReadFile(location()), dir.file("water.db") + "\r\n");
    ASSERT_EQ(dialogs->texts().size(), 2u);  // the file dialog, then the message
    EXPECT_NE(dialogs->texts()[1].find(dir.file("gone.db")), std::string::npos);
}

TEST_F(Startup, DataWindowsExistOnceWithTheirCaptions) {
    WriteFile(location(), dir.file("water.db") + "\r\n");
    auto& main = app::MainWindow();
    main.Show();
    main.mnuAdd_Click();
    auto* first = loader::DataLoaderWindow().get();
    ASSERT_NE(first, nullptr);
    main.mnuAdd_Click();
    EXPECT_EQ(loader::DataLoaderWindow().get(), first);
    EXPECT_EQ(first->Caption(), "Data Loader & Viewer");
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(main.MousePointer(), 0);

    main.mnuExport_Click();
    ASSERT_NE(exporter::ExportWindow().get(), nullptr);
    EXPECT_EQ(exporter::ExportWindow().get()->Caption(), "Export Data");
    EXPECT_EQ(main.Caption(), "MartenDB Data Loader & Viewer");
}

TEST_F(Startup, ExitEndsAtOnce) {
    WriteFile(location(), dir.file("water.db") + "\r\n");
    auto& main = app::MainWindow();
    main.mnuAdd_Click();
    EXPECT_THROW(main.MnuExit_Click(), controls::ProgramEnded);
    // No unload handling ran: the child window is still loaded.
    EXPECT_TRUE(loader::DataLoaderWindow().IsLoaded());
}

// A system-wide install: the program's folder is read-only and holds no datalocation.txt.
// Root may write anywhere, so there the writer refuses what the folder's mode bits would
// refuse an ordinary user.
TEST_F(Startup, WithTheProgramFolderReadOnlyTheUsersChoiceIsRememberedAtTheNextStart) {
    const auto program = dir.path() / "program";
    std::filesystem::create_directory(program);
    platform::SetAppPath(program.string());
    std::filesystem::permissions(program, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    if (::geteuid() == 0) {
        app::SetLocationWriter([&](const std::string& file, const std::string& path) {
            const auto mode = std::filesystem::status(program).permissions();
            return (mode & std::filesystem::perms::owner_write) != std::filesystem::perms::none &&
                   app::WriteDataLocation(file, path);
        });
    }
    dialogs->files.push_back(dir.file("water.db"));
    app::MainWindow();  // the first start asks
    dialogs->files.push_back(dir.file("other.db"));
    app::MainWindow().mnuChange_Click();
    EXPECT_EQ(dialogs->texts().size(), 2u) << "no message, only the two file dialogs";

    app::ResetMainWindow();
    store::setDb(nullptr);
    dialogs->prompts.clear();
    app::MainWindow();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(openName(), dir.file("other.db"));
    EXPECT_FALSE(std::filesystem::exists(program / "datalocation.txt"));
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// The administrator's datalocation.txt holds for everyone; a user who cannot write it keeps
// a choice of their own until the administrator names another file there.
TEST_F(Startup, AnAdministratorsLocationFileThatCannotBeWritten) {
    WriteFile(location(), dir.file("water.db") + "\r\n");
    app::SetLocationWriter([](const std::string&, const std::string&) { return false; });
    app::MainWindow();
    dialogs->files.push_back(dir.file("other.db"));
    app::MainWindow().mnuChange_Click();
    EXPECT_EQ(ReadFile(location()), dir.file("water.db") + "\r\n");
    const auto restart = [&] {
        app::ResetMainWindow();
        store::setDb(nullptr);
        app::MainWindow();
        return openName();
    };
    EXPECT_EQ(restart(), dir.file("other.db"));

    store::CreateEmptyDatabase(dir.file("new.db"));
    WriteFile(location(), dir.file("new.db") + "\r\n");
    EXPECT_EQ(restart(), dir.file("new.db"));
}

TEST_F(Startup, TheDataMenuListsTheFilesOpenedLatelyAndOpensThem) {
    WriteFile(location(), dir.file("water.db") + "\r\n");
    auto& main = app::MainWindow();
    dialogs->files.push_back(dir.file("other.db"));
    main.mnuChange_Click();
    const auto captions = [&] {
        std::vector<std::string> shown;
        for (const auto* item : main.mnuRecent)
            if (item->Visible()) shown.push_back(item->Caption());
        return shown;
    };
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"1 " + dir.file("other.db"), "2 " + dir.file("water.db")}));
    main.mnuRecent_Click(1);
    EXPECT_EQ(openName(), dir.file("water.db"));
    EXPECT_EQ(ReadFile(location()), dir.file("water.db") + "\r\n");
    EXPECT_EQ(captions().front(), "1 " + dir.file("water.db"));
    EXPECT_EQ(captions().size(), 2u);
}
