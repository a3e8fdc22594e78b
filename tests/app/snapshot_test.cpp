// Snapshot mode: pictures of a fresh demo, whatever data file the program is set up with.
#include "Snapshot.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
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
