#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ExportCommand.h"
#include "ExportFixture.h"

using namespace export_test;
namespace fs = std::filesystem;

namespace {

class ExportCommandTest : public ExportTest {
  protected:
    // Runs the command with datalocation.txt naming `located`.
    int Run(const std::vector<std::string>& args, std::optional<std::string> located) {
        out.str("");
        err.str("");
        return exporter::RunExportCommand(
            args, [&] { return located; }, out, err);
    }
    // Starts this build's program with "--export" and `args`, without any display, its
    // errors going to `errors`.
    pid_t Start(std::vector<std::string> args) {
        args.insert(args.begin(), {"dataloader", "--export"});
        const pid_t child = fork();
        if (child != 0) return child;
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDERR_FILENO);
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(DATALOADER_PROGRAM, argv.data());
        _exit(127);
    }
    static int ExitStatus(pid_t child) {
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }
    // `args` and the database and files of the test.
    std::vector<std::string> Named(const exporter::ExportTargets& t,
                                   std::vector<std::string> args = {}) const {
        args.insert(args.end(),
                    {"--database", db->Name(), "--sample-file", t.sample, "--result-file", t.result,
                     "--nonnumeric-file", t.nonNumeric, "--replicate-file", t.replicate});
        return args;
    }
    std::ostringstream out, err;
    const std::string errors = dir.file("errors.txt");
};

}  // namespace

TEST_F(ExportCommandTest, WrongArgumentsAndFailuresSayWhyOnOneLine) {
    struct Case {
        std::vector<std::string> args;
        bool located;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--everything"}, true, 2, "unknown export option --everything"},
        {{"--from"}, true, 2, "--from needs a value"},
        {{"--from", "5/32/2003"}, true, 2, "cannot read the date '5/32/2003' (use M/D/YYYY)"},
        {{"--all", "--from", "1/1/2003"}, true, 2, "--all and --from cannot be used together"},
        {{},
         false,
         1,
         "no database: give --database PATH or name one in " + store::DataLocationFile()},
        {{"--database", dir.file("none.db")},
         true,
         1,
         "cannot open the database: Could not find file '" + dir.file("none.db") + "'."},
        {{"--database", app().string()},
         true,
         1,
         "cannot open the database: '" + app().string() + "' is a folder, not a data file."},
        {{"--sample-file", dir.file("gone/s.csv")},
         true,
         1,
         "The folder '" + dir.file("gone") + "' of the sample file does not exist."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args, c.located ? std::optional(db->Name()) : std::nullopt), c.status);
        EXPECT_EQ(err.str(), "dataloader: " + c.message + "\n");
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(fs::is_empty(app()));
}

// With no option the command writes what the window writes with its defaults.
TEST_F(ExportCommandTest, WritesTheWindowsFilesOrThoseNamed) {
    ASSERT_EQ(Run({}, db->Name()), 0) << err.str();
    EXPECT_EQ(Read(Defaults()), ExpectedFromDefaultDate());
    const auto d = Defaults();
    EXPECT_EQ(out.str(),
              "Exported 3 samples, 4 results, 2 non-numeric results and 1 replicate "
              "into:\n  " +
                  fs::absolute(d.sample).string() + "\n  " + fs::absolute(d.result).string() +
                  "\n  " + fs::absolute(d.nonNumeric).string() + "\n  " +
                  fs::absolute(d.replicate).string() + "\n");

    // A named database over the located one, every record.
    const auto t = Targets();
    ASSERT_EQ(Run(Named(t, {"--all"}), dir.file("none.db")), 0) << err.str();
    EXPECT_EQ(Read(t), ExpectedAll());
    EXPECT_EQ(Run({"--from", "6/1/2003", "--sample-file", t.sample}, db->Name()), 0);
    EXPECT_EQ(testing_support::ReadFile(t.sample).substr(0, 9), "V,4,,,6/1");
    ASSERT_EQ(Run(Named(t, {"--header"}), std::nullopt), 0) << err.str();
    EXPECT_EQ(Read(t), WithHeaders(ExpectedFromDefaultDate()));
}

// The program itself, with no display. A scheduled job stopped by its time limit (or Ctrl+C)
// leaves the earlier files as they were and no temporary file, however large the export had
// grown.
TEST_F(ExportCommandTest, TheProgramExportsAndAStoppedOneLeavesNoFileHalfWritten) {
    const auto t = Targets();
    ASSERT_EQ(ExitStatus(Start(Named(t))), 0) << testing_support::ReadFile(errors);
    EXPECT_EQ(Read(t), ExpectedFromDefaultDate());
    EXPECT_EQ(testing_support::ReadFile(errors), "");

    db->ExecuteNative(
        "WITH RECURSIVE n(i) AS (SELECT 100000 UNION ALL SELECT i + 1 FROM n WHERE i < 500000) "
        "INSERT INTO tblsample (idloc, sample_code, start_date) SELECT 'V', i, '2004-01-01' FROM "
        "n");
    Seed(t);
    const pid_t child = Start(Named(t, {"--all"}));
    // Stopped once it is writing.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const auto writing = [&] {
        for (const auto& [name, text] : Listing(dir.path() / "out"))
            if (name.ends_with(".part") && !text.empty()) return true;
        return false;
    };
    while (!writing() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGTERM);

    EXPECT_EQ(ExitStatus(child), 1);
    EXPECT_EQ(testing_support::ReadFile(errors), "dataloader: the export was stopped by signal " +
                                                     std::to_string(SIGTERM) +
                                                     ". No file was changed.\n");
    EXPECT_EQ(Read(t), Seeded(t));
    EXPECT_EQ(Listing(dir.path() / "out").size(), 4u);
}
