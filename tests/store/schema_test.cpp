#include "Schema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Connection.h"
#include "Database.h"
#include "DemoData.h"
#include "EngineError.h"
#include "TestSupport.h"

using platform::Database;
using platform::EngineError;
using testing_support::TempDir;

namespace {

long long count(Database& db, const std::string& sql) {
    auto rs = db.OpenRecordset(sql);
    return rs->Fields(0).Value().toInteger();
}

}  // namespace

TEST(Schema, NewDatabaseHasEveryTableAndOpensAsDataFile) {
    TempDir dir;
    { store::CreateEmptyDatabase(dir.file("new.db")); }
    auto db = store::OpenDataFile(dir.file("new.db"));
    EXPECT_EQ(store::MissingTables(*db), "");
    EXPECT_EQ(count(*db, "select count(*) from tblsample"), 0);
}

TEST(Schema, CreateRefusesToOverwriteAFile) {
    TempDir dir;
    testing_support::WriteFile(dir.file("x.db"), "keep me");
    EXPECT_THROW(store::CreateEmptyDatabase(dir.file("x.db")), EngineError);
    EXPECT_EQ(testing_support::ReadFile(dir.file("x.db")), "keep me");
}

TEST(Schema, ADatabaseThatFailsToBeMadeIsRemoved) {
    TempDir dir;
    const std::string path = dir.file("half.db");
    EXPECT_THROW(store::CreateDatabaseFile(path,
                                           [](Database& db) {
                                               db.Execute(
                                                   "insert into tblmedium (medium) values "
                                                   "('W')");
                                               throw EngineError(3146, "disk full");
                                           }),
                 EngineError);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    // So the next try is not refused as "already exists".
    { store::CreateEmptyDatabase(path); }
    EXPECT_EQ(count(*store::OpenDataFile(path), "select count(*) from tblmedium"), 0);
}

TEST(Schema, DataFileWithoutTheProgramsTablesDoesNotOpen) {
    TempDir dir;
    {
        auto db = Database::CreateDatabase(dir.file("other.db"));
        db->ExecuteNative("create table something (a integer)");
    }
    try {
        store::OpenDataFile(dir.file("other.db"));
        FAIL() << "opened a file without the program's tables";
    } catch (const EngineError& e) {
        EXPECT_NE(e.Description().find("tblsample"), std::string::npos) << e.Description();
    }
}

TEST(Schema, KeysRejectASecondRowWithTheSameIdentity) {
    TempDir dir;
    auto db = store::CreateEmptyDatabase(dir.file("k.db"));
    db->Execute("insert into tblsample (idloc, sample_code) values ('V', 1)");
    // The same code under another source marker is another sample.
    db->Execute("insert into tblsample (idloc, sample_code) values ('S', 1)");
    EXPECT_THROW(db->Execute("insert into tblsample (idloc, sample_code) values ('V', 1)"),
                 EngineError);
    db->Execute("insert into tblresults (idloc, sample_code, parameter_code) values ('V', 1, 10)");
    EXPECT_THROW(
        db->Execute(
            "insert into tblresults (idloc, sample_code, parameter_code) values ('V', 1, 10)"),
        EngineError);
}

TEST(Schema, RemarkCodesAreText) {
    TempDir dir;
    auto db = store::CreateEmptyDatabase(dir.file("r.db"));
    db->Execute("insert into tblresults_remarks values ('<', 'Less than')");
    auto rs = db->OpenRecordset("select * from tblresults_remarks where remark_code = '<'");
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields("remark_code").Value().toText(), "<");
}

class DemoDatabase : public ::testing::Test {
  protected:
    void SetUp() override { db = store::CreateDemoDatabase(dir.file("demo.db")); }
    TempDir dir;
    std::shared_ptr<Database> db;
};

TEST_F(DemoDatabase, LookupTablesAreFilledForEveryList) {
    for (const char* table : {"tblsample_type", "tblstation_information", "tblprojects_programs",
                              "tblcomposite_statistic", "tblmedium", "tblresults_remarks",
                              "TBLParameter_Codes", "tblOrganization"}) {
        EXPECT_GT(count(*db, std::string("select count(*) from ") + table), 2) << table;
    }
    EXPECT_GE(count(*db, "select count(*) from TBLParameter_Codes"), 30);
    EXPECT_EQ(count(*db,
                    "select count(*) from tblstation_information "
                    "where place_name_description is null or water_body_name is null"),
              0);
}

TEST_F(DemoDatabase, ProjectEightFeedsTheParameterShortList) {
    auto rs = db->OpenRecordset(
        "SELECT DISTINCT TBLParameter_Codes.Parameter_Code as parameter_code, "
        "TBLParameter_Codes.short_Name as short_name FROM (TBLSample INNER JOIN TBLResults ON "
        "(TBLSample.IDLoc = TBLResults.IDLoc) AND (TBLSample.Sample_Code = "
        "TBLResults.Sample_Code)) "
        " INNER JOIN TBLParameter_Codes ON TBLResults.Parameter_Code = "
        "TBLParameter_Codes.Parameter_Code WHERE (((TBLSample.Project_Code)='8'))");
    int n = 0;
    for (; !rs->Eof(); rs->MoveNext()) ++n;
    EXPECT_GE(n, 5);
    EXPECT_LT(n, count(*db, "select count(*) from TBLParameter_Codes"));
}

TEST_F(DemoDatabase, HoldsHandEnteredAndOtherSourceSamplesThatHangTogether) {
    EXPECT_EQ(count(*db, "select max(sample_code) as maxCode from tblsample where idloc = 'V'"), 5);
    EXPECT_GT(count(*db, "select count(*) from tblsample where idloc <> 'V'"), 50);
    EXPECT_GT(count(*db, "select count(*) from tblresults where idloc = 'V'"), 5);
    EXPECT_GT(count(*db, "select count(*) from tblresults_val_nonnumeric where idloc = 'V'"), 0);
    EXPECT_GT(count(*db, "select count(*) from tblreplicates where idloc = 'V'"), 0);
    // Every result belongs to a sample, every sample to a known project, station and medium.
    for (const char* t : {"tblresults", "tblresults_val_nonnumeric", "tblreplicates"}) {
        EXPECT_EQ(count(*db, std::string("select count(*) from ") + t +
                                 " r left join tblsample s on s.idloc = r.idloc and "
                                 "s.sample_code = r.sample_code where s.sample_code is null"),
                  0)
            << t;
    }
    EXPECT_EQ(count(*db,
                    "select count(*) from tblsample s left join tblstation_information st "
                    "on st.station_id = s.station_id where st.station_id is null"),
              0);
    EXPECT_EQ(count(*db,
                    "select count(*) from tblsample s left join tblprojects_programs p "
                    "on p.project_code = s.project_code where p.project_code is null"),
              0);
    EXPECT_EQ(count(*db, "select count(*) from tblsample where start_date is null"), 0);
}

TEST_F(DemoDatabase, OneProjectHasNoOrganisation) {
    // The project grid's left join must still list it.
    EXPECT_EQ(count(*db, "select count(*) from tblprojects_programs where organization_id is null"),
              1);
}
