#include "Schema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "EngineSupport.h"

using platform::Database;
using platform::EngineError;
using testing_support::TempDir;

namespace {

long long count(Database& db, const std::string& sql) {
    return std::stoll(testing_support::QueryValue(db, sql));
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
