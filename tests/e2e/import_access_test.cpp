// Bringing over an Access database through its window, from choosing the file to the summary.
#include <gtest/gtest.h>

#include "../access/MemoryFile.h"
#include "AppSupport.h"
#include "Connection.h"
#include "EngineSupport.h"
#include "frmImportAccess.h"

namespace {

class ImportAccessWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        db = testing_support::EmptyDatabase(dir.file("data.db"));
        store::setDb(db);
        db->ExecuteNative("insert into tblsample (idloc, sample_code) values ('V', 1)");
        file.Add("TBLSAMPLE", {"idloc", "sample_code", "start_date"},
                 {{"V", 1, {}}, {"V", 2, platform::DateTime{2004, 3, 4, 0, 0, 0}}});
        accessdb::frmImportAccess::open = [this](const std::string&) {
            return std::make_unique<accessdb::MemoryFile>(file);
        };
    }
    void TearDown() override {
        accessdb::frmImportAccess::open = accessdb::OpenAccessFile;
        testing_support::ResetApp();
    }
    std::string samples() {
        return testing_support::QueryValue(*db, "select count(*) from tblsample");
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    std::shared_ptr<platform::Database> db;
    accessdb::MemoryFile file;
};

TEST_F(ImportAccessWindow, ShowsTakenKeysAndImportsTheOthersOnlyWhenTold) {
    auto& w = accessdb::ImportAccessWindow()();
    w.Show();
    EXPECT_FALSE(w.cmdImport.Enabled()) << "nothing to import before a file is read";
    dialogs->files.push_back("office.mdb");
    w.cmdBrowse_Click();
    EXPECT_EQ(w.txtFile.Text(), "office.mdb");
    EXPECT_TRUE(w.cmdImport.Enabled());
    const std::string plan = w.txtPlan.Text();
    EXPECT_NE(plan.find("tblsample (TBLSAMPLE in the file): 2 rows"), std::string::npos) << plan;
    EXPECT_NE(plan.find("tblsample idloc V, sample_code 1"), std::string::npos) << plan;

    w.cmdImport_Click();
    EXPECT_EQ(dialogs->texts().back().rfind("Nothing was imported", 0), 0u);
    EXPECT_EQ(samples(), "1");

    w.chkSkipExisting.SetValue(1);
    w.cmdImport_Click();
    EXPECT_EQ(dialogs->texts().back().rfind("Imported 1 row.\n  tblsample: 1 row\n", 0), 0u);
    EXPECT_EQ(samples(), "2");
}

TEST_F(ImportAccessWindow, AFileThatIsNotAccessIsRefusedInTheWindow) {
    accessdb::frmImportAccess::open = accessdb::OpenAccessFile;
    testing_support::WriteFile(dir.file("notes.mdb"), "notes\n");
    auto& w = accessdb::ImportAccessWindow()();
    w.Show();
    dialogs->files.push_back(dir.file("notes.mdb"));
    w.cmdBrowse_Click();
    EXPECT_NE(w.txtPlan.Text().find("could not be read as an Access database"), std::string::npos);
    EXPECT_FALSE(w.cmdImport.Enabled()) << "a file that cannot be read cannot be imported";
    w.cmdImport_Click();
    EXPECT_NE(dialogs->texts().back().find("could not be read as an Access database"),
              std::string::npos);
    EXPECT_EQ(samples(), "1");
}

}  // namespace
