#include "Schema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "EngineSupport.h"

using platform::Database;
using platform::EngineError;
using testing_support::QueryValue;
using testing_support::TempDir;

TEST(Schema, NewDatabaseHasEveryTableAndOpensAsDataFile) {
    TempDir dir;
    { store::CreateEmptyDatabase(dir.file("new.db")); }
    auto db = store::OpenDataFile(dir.file("new.db"));
    EXPECT_EQ(store::MissingSchema(*db), "");
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblsample"), "0");
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
    EXPECT_THROW(store::CreateDatabaseFile(
                     path,
                     [](Database& db) {
                         db.Execute("insert into tblmedium (medium) values (?)", {"W"});
                         throw EngineError(3146, "disk full");
                     }),
                 EngineError);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    // So the next try is not refused as "already exists".
    { store::CreateEmptyDatabase(path); }
    EXPECT_EQ(QueryValue(*store::OpenDataFile(path), "select count(*) from tblmedium"), "0");
}

// A file made by the schema, then changed, opens only when it still has every table and
// column; the refusal names all that is missing at once. Names match in any letter case.
TEST(Schema, OpeningNamesEveryMissingTableAndColumn) {
    struct Case {
        const char* change;
        std::string lacks;  // empty: the file opens
    };
    const Case cases[] = {
        {"alter table tblsample drop column comment", "tblsample lacks the column comment"},
        {"drop table tblmedium; drop table tblreplicates; alter table tblsample drop column medium;"
         "alter table tblresults drop column grade; alter table tblresults drop column comments",
         "it has no tables tblmedium and tblreplicates; tblsample lacks the column medium; "
         "tblresults lacks the columns grade and comments"},
        {"alter table tblsample rename column comment to COMMENT;"
         "alter table tblsample rename to t; alter table t rename to TBLSAMPLE",
         ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.file("w.db");
        store::CreateEmptyDatabase(path)->ExecuteNative(c.change);
        std::string refusal;
        try {
            store::OpenDataFile(path);
        } catch (const EngineError& e) {
            refusal = e.Description();
        }
        EXPECT_EQ(refusal,
                  c.lacks.empty()
                      ? ""
                      : "'" + path + "' is not a data file of this program: " + c.lacks + ".")
            << c.change;
    }
}

TEST(Schema, KeysRejectASecondRowWithTheSameIdentity) {
    TempDir dir;
    auto db = store::CreateEmptyDatabase(dir.file("k.db"));
    const std::string sample = "insert into tblsample (idloc, sample_code) values (?, ?)";
    db->Execute(sample, {"V", 1});
    // The same code under another source marker is another sample.
    db->Execute(sample, {"S", 1});
    EXPECT_THROW(db->Execute(sample, {"V", 1}), EngineError);
    const std::string result =
        "insert into tblresults (idloc, sample_code, parameter_code) values (?, ?, ?)";
    db->Execute(result, {"V", 1, 10});
    EXPECT_THROW(db->Execute(result, {"V", 1, 10}), EngineError);
}
