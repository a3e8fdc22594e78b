// Snapshot mode: pictures of a fresh demo, whatever data file the program is set up with.
#include "Snapshot.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImageReader>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>

#include "App.h"
#include "AppSupport.h"
#include "Connection.h"
#include "Database.h"
#include "MDIMain.h"
#include "Windows.h"
#include "frmExport.h"

namespace fs = std::filesystem;

namespace {

class SnapshotMode : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::ScriptDialogs();
        store::setDb(nullptr);
        hadTemp = qEnvironmentVariableIsSet("TMPDIR");
        savedTemp = qgetenv("TMPDIR");
        fs::create_directories(program());
        fs::create_directories(temp());
        qputenv("TMPDIR", QByteArray::fromStdString(temp().string()));
    }
    void TearDown() override {
        if (hadTemp)
            qputenv("TMPDIR", savedTemp);
        else
            qunsetenv("TMPDIR");
        testing_support::ResetApp();
    }
    fs::path program() const { return dir.path() / "program"; }
    fs::path temp() const { return dir.path() / "tmp"; }

    testing_support::TempDir dir;
    bool hadTemp = false;
    QByteArray savedTemp;
};

}  // namespace

TEST_F(SnapshotMode, PicturesTheDemoNeverTheDataFileAndLeavesOnlyPictures) {
    // The data file the program is set up with holds a project the demo does not have.
    const std::string real = dir.file("real.db");
    testing_support::EmptyDatabase(real)->ExecuteNative(
        "insert into tblprojects_programs (project_code, program_project) values ('ZZ', 'Real')");
    testing_support::WriteFile((program() / "datalocation.txt").string(), real + "\r\n");
    const std::string before = testing_support::ReadFile(real);
    platform::SetAppPath(program().string());

    const fs::path out = dir.path() / "pictures";
    ASSERT_EQ(app::RunSnapshot(out.string()), 0);

    for (const auto& entry : fs::directory_iterator(out)) {
        EXPECT_EQ(entry.path().extension(), ".png") << entry.path();
        EXPECT_GT(entry.file_size(), 0u) << entry.path();
    }
    EXPECT_TRUE(fs::exists(out / "data-loader-view-station-filters.png"));
    EXPECT_TRUE(fs::exists(out / "data-loader-view-samples-filters.png"));
    EXPECT_TRUE(fs::is_empty(temp())) << "the demo database is left behind";
    EXPECT_EQ(testing_support::ReadFile(real), before);
    EXPECT_EQ(platform::AppPath(), program().string());

    auto* window = loader::DataLoaderWindow().get();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->cmbStationProject.List(0), "8-Statewide Ambient Monitoring Network");
    for (int i = 0; i < window->cmbStationProject.ListCount(); ++i)
        EXPECT_NE(window->cmbStationProject.List(i), "ZZ-Real");
}

// The program's own snapshot run: every picture again at 150 %, half as large again, and the
// main window no larger than the full-HD screen it is taken on.
TEST(SnapshotProgram, PicturesAt150And200PercentFitTheirScreens) {
    testing_support::TempDir dir;
    const std::string command = "env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR '" +
                                std::string(DATALOADER_PROGRAM) + "' --snapshot '" +
                                dir.path().string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto size = [&](const std::string& name) {
        return QImageReader(QString::fromStdString(dir.file(name + ".png"))).size();
    };
    for (const char* name :
         {"data-loader-sample", "export", "filter-results", "plot", "review", "review-summary"}) {
        EXPECT_EQ(size(name + std::string("-150")), size(name) * 1.5) << name;
        EXPECT_EQ(size(name + std::string("-200")), size(name) * 2) << name;
    }
    const QSize main = size("main-150");
    EXPECT_LE(main.height(), 1080);
    EXPECT_EQ(main.width(), 1920);
    EXPECT_EQ(size("data-loader-150"), main) << "the window as a whole";
}
