// The program's command-line options that need no window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Database.h"
#include "Schema.h"
#include "TestSupport.h"
#include "Version.h"

namespace fs = std::filesystem;

namespace {

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(program)) << program; }
    // Runs the program without any display; its exit status, its output in `out` (standard
    // output alone unless `withErrors`).
    int Run(const std::string& args, bool withErrors = true) {
        const std::string output = dir.file("output.txt");
        const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '" +
                                    program.string() + "' " + args + " >'" + output +
                                    (withErrors ? "' 2>&1" : "' 2>/dev/null");
        const int status = std::system(command.c_str());
        out = testing_support::ReadFile(output);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const fs::path program = DATALOADER_PROGRAM;
    testing_support::TempDir dir;
    std::string out;
};

}  // namespace

TEST_F(CommandLine, VersionAndUnknownOptions) {
    EXPECT_EQ(Run("--version"), 0);
    EXPECT_EQ(out, std::string("dataloader ") + DATALOADER_VERSION + "\n");
    EXPECT_EQ(Run("--frobnicate", false), 2);
    EXPECT_EQ(out, "") << "the usage goes with the error, to standard error";
    EXPECT_EQ(Run("--frobnicate"), 2);
    EXPECT_EQ(out.rfind("dataloader: unknown option --frobnicate\nUsage: dataloader [OPTION]\n", 0),
              0u)
        << out;
}

TEST_F(CommandLine, NewDatabaseHasEveryTableAndNoRowsAndIsNeverOverwritten) {
    const std::string path = dir.file("real.db");
    ASSERT_EQ(Run("--new-database '" + path + "'"), 0) << out;
    EXPECT_EQ(out, "Made an empty database for real use: " + path + "\n");
    {
        auto db = platform::Database::OpenDatabase(path);
        EXPECT_EQ(store::MissingSchema(*db), "");
        EXPECT_EQ(testing_support::QueryValue(*db, "select count(*) from tblprojects_programs"),
                  "0");  // not the demo's rows
    }
    const auto size = fs::file_size(path);
    EXPECT_EQ(Run("--new-database '" + path + "'"), 1);
    EXPECT_EQ(out, "dataloader: Database '" + path + "' already exists.\n");
    EXPECT_EQ(fs::file_size(path), size);
}

TEST_F(CommandLine, DemoDatabaseIsMadeOnceAndSaysWhere) {
    const std::string path = dir.file("demo.db");
    ASSERT_EQ(Run("--demo-database '" + path + "'"), 0) << out;
    EXPECT_EQ(out, "Made a demo database: " + path + "\n");
    auto db = platform::Database::OpenDatabase(path);
    EXPECT_NE(testing_support::QueryValue(*db, "select count(*) from tblsample"), "0");
    EXPECT_EQ(Run("--demo-database '" + path + "'"), 1);
    EXPECT_EQ(out, "dataloader: Database '" + path + "' already exists.\n");
}

TEST_F(CommandLine, NewDatabaseSaysWhatIsWrongWithItsPath) {
    // A folder that does not exist is named, with the system's reason; nothing is made.
    const std::string folder = dir.file("no such folder");
    EXPECT_EQ(Run("--new-database '" + folder + "/real.db'"), 1);
    EXPECT_EQ(out, "dataloader: Could not create '" + folder + "/real.db': the folder '" + folder +
                       "' does not exist (No such file or directory).\n");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(Run("--new-database '" + dir.path().string() + "'"), 1);
    EXPECT_EQ(out, "dataloader: '" + dir.path().string() +
                       "' is a folder; give the name of a new file in it.\n");

    // No path, an empty one, or more than one: wrong arguments, with the usage line.
    const std::string usage = "Usage: dataloader --new-database PATH\n";
    EXPECT_EQ(Run("--new-database"), 2);
    EXPECT_EQ(out, "dataloader: --new-database needs a path\n" + usage);
    EXPECT_EQ(Run("--new-database ''"), 2);
    EXPECT_EQ(out, "dataloader: --new-database needs a path\n" + usage);
    const std::string path = dir.file("real.db");
    EXPECT_EQ(Run("--new-database '" + path + "' extra.db"), 2);
    EXPECT_EQ(out,
              "dataloader: unexpected argument 'extra.db' after --new-database PATH\n" + usage);
    EXPECT_FALSE(fs::exists(path));
}

// The copy's report lists every table with its rows, an office's own too; what the target
// cannot take is named, fails the run and leaves no file.
TEST_F(CommandLine, CopyDatabaseReportsEveryTableOrRefusesLeavingNothing) {
    const std::string from = dir.file("office.db");
    store::CreateEmptyDatabase(from)->ExecuteNative(
        "create table tblparameter_limits (parameter_code integer primary key, lower_limit "
        "real, upper_limit real); insert into tblparameter_limits values (400, 6.5, 8.5)");
    const std::string to = dir.file("copy.db");
    ASSERT_EQ(Run("--copy-database '" + from + "' '" + to + "'"), 0) << out;
    EXPECT_NE(out.find("Checked: each of the 15 tables holds what the source holds, row for "
                       "row:\n  tblOrganization: 0 rows\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  tblreplicates: 0 rows\n  tblresult_review: 0 rows\n  "
                       "tblparameter_pairs: 0 rows\n  tblparameter_limits: 1 row\n"),
              std::string::npos)
        << out;

    platform::Database::OpenDatabase(from)->ExecuteNative(
        "create virtual table words using fts5(word)");
    const std::string refused = dir.file("refused.db");
    EXPECT_EQ(Run("--copy-database '" + from + "' '" + refused + "'"), 1);
    EXPECT_EQ(out,
              "dataloader: Nothing was copied: the copy cannot take the virtual table words (its "
              "rows live in its module's own tables).\n");
    EXPECT_FALSE(fs::exists(refused));
}
