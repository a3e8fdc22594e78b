#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "App.h"
#include "Connection.h"
#include "ExportCommand.h"
#include "ExportFixture.h"
#include "frmExport.h"

using namespace export_test;
namespace fs = std::filesystem;

namespace {

class ExportCommandTest : public ExportTest {
  protected:
    void SetUp() override {
        ExportTest::SetUp();
        savedAppPath = platform::AppPath();
        fs::create_directories(dir.path() / "app");
        platform::SetAppPath((dir.path() / "app").string());
    }
    void TearDown() override {
        if (auto* f = exporter::ExportWindow().get()) f->Unload();
        platform::SetAppPath(savedAppPath);
        ExportTest::TearDown();
    }
    // Runs the command with datalocation.txt naming `located`.
    int Run(const std::vector<std::string>& args,
            std::optional<std::string> located = std::nullopt) {
        out.str("");
        err.str("");
        return exporter::RunExportCommand(
            args, [&] { return located; }, out, err);
    }
    std::string savedAppPath;
    std::ostringstream out, err;
};

}  // namespace

TEST_F(ExportCommandTest, WrongArgumentsAndFailuresSayWhyOnOneLine) {
    struct Case {
        std::vector<std::string> args;
        bool located;
        int status;
        std::string message;
    };
    const std::string gone = dir.file("gone/s.csv");
    const std::vector<Case> cases = {
        {{"--everything"}, true, 2, "unknown export option --everything"},
        {{"--from"}, true, 2, "--from needs a value"},
        {{"--from", "5/32/2003"}, true, 2, "cannot read the date '5/32/2003' (use M/D/YYYY)"},
        {{"--all", "--from", "1/1/2003"}, true, 2, "--all and --from cannot be used together"},
        {{"--sample-file"}, true, 2, "--sample-file needs a value"},
        {{},
         false,
         1,
         "no database: give --database PATH or name one in " + store::DataLocationFile()},
        {{"--database", dir.file("none.db")},
         true,
         1,
         "cannot open the database: Could not find file '" + dir.file("none.db") + "'."},
        {{"--sample-file", gone},
         true,
         1,
         "The folder '" + dir.file("gone") + "' of the sample file does not exist."},
    };
    for (const Case& c : cases) {
        const int status =
            Run(c.args, c.located ? std::optional<std::string>(db->Name()) : std::nullopt);
        EXPECT_EQ(status, c.status) << c.message;
        EXPECT_EQ(err.str(), "dataloader: " + c.message + "\n");
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(fs::is_empty(dir.path() / "app"));
}

// With no option the command takes the window's defaults: the same files, the same
// date, the same bytes.
TEST_F(ExportCommandTest, WritesWhatTheWindowWrites) {
    auto& window = exporter::ExportWindow()();
    const exporter::ExportTargets defaults{window.txtsample.Text(), window.txtresult.Text(),
                                           window.txtresultsnon.Text(),
                                           window.txtreplicates.Text()};
    window.CmdExport.Press();
    ASSERT_EQ(dialogs->texts(), std::vector<std::string>{"Data Exported"});
    const Files fromWindow = Read(defaults);
    for (const auto* p :
         {&defaults.sample, &defaults.result, &defaults.nonNumeric, &defaults.replicate})
        fs::remove(*p);

    ASSERT_EQ(Run({}, db->Name()), 0) << err.str();
    EXPECT_EQ(Read(defaults), fromWindow);
    EXPECT_EQ(fromWindow, ExpectedFromDefaultDate());
    EXPECT_EQ(out.str(),
              "Exported 3 samples, 4 results, 2 non-numeric results and 1 replicates.\n");

    // Named files, a named database over the located one, every record.
    const auto t = Targets();
    ASSERT_EQ(
        Run({"--all", "--sample-file", t.sample, "--result-file", t.result, "--nonnumeric-file",
             t.nonNumeric, "--replicate-file", t.replicate, "--database", db->Name()},
            dir.file("none.db")),
        0)
        << err.str();
    EXPECT_EQ(Read(t), ExpectedAll());
    EXPECT_EQ(Run({"--from", "6/1/2003", "--sample-file", t.sample}, db->Name()), 0);
    EXPECT_EQ(testing_support::ReadFile(t.sample).substr(0, 9), "V,4,,,6/1");
}

// The program of this build itself.
TEST_F(ExportCommandTest, TheProgramExportsWithoutAWindow) {
    const fs::path program = DATALOADER_PROGRAM;
    ASSERT_TRUE(fs::exists(program)) << program;
    const auto t = Targets();
    const std::string errors = dir.file("errors.txt");
    const auto run = [&](const std::string& args) {
        // No display at all: the export must not need one.
        const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '" +
                                    program.string() + "' --export " + args + " >/dev/null 2>'" +
                                    errors + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run("--from 5/22/2003 --database '" + db->Name() + "' --sample-file '" + t.sample +
                  "' --result-file '" + t.result + "' --nonnumeric-file '" + t.nonNumeric +
                  "' --replicate-file '" + t.replicate + "'"),
              0)
        << testing_support::ReadFile(errors);
    EXPECT_EQ(Read(t), ExpectedFromDefaultDate());
    EXPECT_EQ(testing_support::ReadFile(errors), "");

    EXPECT_EQ(run("--from someday"), 2);
    EXPECT_EQ(testing_support::ReadFile(errors),
              "dataloader: cannot read the date 'someday' (use M/D/YYYY)\n");
}

// A scheduled job stopped by its time limit (or Ctrl+C) leaves the earlier files as they were
// and no temporary file, however large the export had grown.
TEST_F(ExportCommandTest, AStoppedProgramLeavesNoFileHalfWritten) {
    db->ExecuteNative(
        "WITH RECURSIVE n(i) AS (SELECT 100000 UNION ALL SELECT i + 1 FROM n WHERE i < 500000) "
        "INSERT INTO tblsample (idloc, sample_code, project_code, station_id, start_date, "
        "missing_time, medium, sample_type) "
        "SELECT 'V', i, '8', 109, '2004-01-01 10:00:00', 'N', 'W', 'G' FROM n");
    const auto t = Targets();
    Seed(t);
    const std::string errors = dir.file("errors.txt");

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDERR_FILENO);
        execl(DATALOADER_PROGRAM, "dataloader", "--export", "--all", "--database",
              db->Name().c_str(), "--sample-file", t.sample.c_str(), "--result-file",
              t.result.c_str(), "--nonnumeric-file", t.nonNumeric.c_str(), "--replicate-file",
              t.replicate.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Stopped once it is writing.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const auto writing = [&] {
        for (const auto& [name, text] : Listing(dir.path() / "out"))
            if (name.size() > 5 && name.substr(name.size() - 5) == ".part" && !text.empty())
                return true;
        return false;
    };
    while (!writing() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(testing_support::ReadFile(errors), "dataloader: the export was stopped by signal " +
                                                     std::to_string(SIGTERM) +
                                                     ". No file was changed.\n");
    EXPECT_EQ(Read(t), Seeded());
    EXPECT_EQ(Listing(dir.path() / "out").size(), 4u);
}
