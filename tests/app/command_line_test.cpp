// The program's command-line options that need no window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Database.h"
#include "Schema.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        program = fs::path(QCoreApplication::applicationDirPath().toStdString()).parent_path() /
                  "dataloader";
        if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;
    }
    // Runs the program without any display; its exit status, its output in `out`.
    int Run(const std::string& args) {
        const std::string output = dir.file("output.txt");
        const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '" +
                                    program.string() + "' " + args + " >'" + output + "' 2>&1";
        const int status = std::system(command.c_str());
        out = testing_support::ReadFile(output);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::path program;
    testing_support::TempDir dir;
    std::string out;
};

}  // namespace

TEST_F(CommandLine, VersionAndUnknownOptions) {
    EXPECT_EQ(Run("--version"), 0);
    EXPECT_EQ(out, std::string("dataloader ") + DATALOADER_VERSION + "\n");
    EXPECT_EQ(Run("--frobnicate"), 2);
    EXPECT_NE(out.find("unknown option --frobnicate"), std::string::npos) << out;
}

TEST_F(CommandLine, NewDatabaseHasEveryTableAndNoRowsAndIsNeverOverwritten) {
    const std::string path = dir.file("real.db");
    ASSERT_EQ(Run("--new-database '" + path + "'"), 0) << out;
    {
        auto db = platform::Database::OpenDatabase(path);
        EXPECT_EQ(store::MissingTables(*db), "");
        for (const char* table : {"tblsample", "tblprojects_programs", "tblstation_information",
                                  "TBLParameter_Codes", "tblmedium"}) {
            auto rs = db->OpenRecordset(std::string("select count(*) from ") + table);
            EXPECT_EQ(rs->Value(0).toInteger(), 0) << table;
        }
    }
    const auto size = fs::file_size(path);
    EXPECT_EQ(Run("--new-database '" + path + "'"), 1);
    EXPECT_NE(out.find("already exists"), std::string::npos) << out;
    EXPECT_EQ(fs::file_size(path), size);
    EXPECT_EQ(Run("--new-database"), 2);
}
