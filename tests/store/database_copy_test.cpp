#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Conversions.h"
#include "Database.h"
#include "DatabaseCopy.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "History.h"
#include "Journal.h"
#include "Records.h"
#include "Results.h"
#include "Samples.h"
#include "Schema.h"
#include "TableKeys.h"

namespace {

using testing_support::QueryRows;
using testing_support::QueryValue;

// From a file to a file, or to a server when the tests run on one: every value arrives as
// it was, and a target that already holds the tables is refused untouched.
TEST(DatabaseCopy, EveryRowArrivesAsItWasAndAFilledTargetIsRefused) {
    testing_support::TempDir dir;
    const std::string from = dir.file("from.db");
    store::CreateEmptyDatabase(from)->ExecuteNative(R"sql(
insert into tblprojects_programs (project_code, program_project, project_start_date) values
    ('8', 'Statewide', '2001-02-03 00:00:00'), ('LKM', 'Lake ''Bear''', NULL);
insert into tblsample (idloc, sample_code, project_code, station_id, start_date, sample_depth,
                       comment) values
    ('V', 2, '8', 109, '2004-01-14 09:30:00', 0.1, 'two, with "quotes"'),
    ('S', 1, 'LKM', 105, '2003-06-02 10:00:00', NULL, ''),
    ('S', 3, 'LKM', 105, '2003-06-02', 2, 'a day and no time, a whole depth');
insert into tblresults values ('V', 2, 10, 0.30000000000000004, '<', 'A', NULL);
)sql");
    const std::string to = testing_support::EmptyLocation(dir.file("to.db"));
    std::ostringstream progress;
    store::CopyDatabase(from, to, progress);
    EXPECT_NE(progress.str().find("tblsample: 3 rows"), std::string::npos) << progress.str();

    auto source = platform::Database::OpenDatabase(from);
    auto target = platform::Database::OpenDatabase(to);
    for (const auto& t : platform::TablesOfScript(store::SchemaDdl())) {
        const std::string sql = "select * from " + t.table;
        EXPECT_EQ(QueryRows(*target, sql), QueryRows(*source, sql)) << t.table;
    }
    target->Execute("delete from tblresults");
    EXPECT_THROW(store::CopyDatabase(from, to, progress), platform::EngineError);
    EXPECT_EQ(QueryRows(*target, "select * from tblresults").size(), 0u);
}

// An office's file as it grows: the journal of its saves, its limits and a table of its own.
class WholeCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        store::SetFixedJournalStamp(
            store::JournalStamp{"clerk", platform::DateTime{2024, 5, 6, 7, 8, 9}});
        auto db = store::CreateEmptyDatabase(from);
        db->ExecuteNative(R"sql(
CREATE TABLE tblparameter_limits (parameter_code INTEGER PRIMARY KEY, lower_limit REAL,
                                  upper_limit REAL);
INSERT INTO tblparameter_limits VALUES (400, 6.5, 8.5), (300, 5, 14);
CREATE TABLE Field_Notes (note_id INTEGER PRIMARY KEY AUTOINCREMENT, station_id INTEGER NOT NULL,
                          seen DATETIME, depth REAL, note TEXT, UNIQUE (station_id, seen));
CREATE INDEX field_notes_note ON Field_Notes (note);
CREATE VIEW station_notes AS SELECT station_id, count(*) AS notes FROM Field_Notes
    WHERE note <> 'x' AND coalesce(depth, 0) < 2.5 GROUP BY station_id;
INSERT INTO Field_Notes VALUES (1, 109, '2004-01-14 09:30:00', 0.30000000000000004, 'ice'),
                               (2, 105, NULL, NULL, 'Ødegård''s "pond"'),
                               (3, 101, NULL, NULL, 'gone');
DELETE FROM Field_Notes WHERE note_id = 3;
ALTER TABLE tblsample ADD COLUMN field_crew TEXT;
CREATE TABLE "Lab Log" ("Entry No" INTEGER, entry TEXT);
INSERT INTO "Lab Log" VALUES (1, 'calibrated');
)sql");
        store::Sample sample;
        sample.station = "109";
        sample.start = platform::DateTime{2004, 3, 4, 10, 30, 0};
        sample.comment = "first";
        const long long code = store::Samples(*db).Add(sample).code;
        store::Result r;
        r.parameterCode = "400";
        r.value = "7.25";
        r.kind = store::KindOfEntry(r.value, false);
        store::Results(*db).Store({std::to_string(code), "3/4/2004 10:30:00 AM"}, r);
        sample.comment = "second";
        store::Samples(*db).Add(sample);
        store::Samples(*db).Delete(code + 1);
    }
    void TearDown() override { store::SetFixedJournalStamp(std::nullopt); }

    // Every table's rows in the order of all its columns, as text.
    std::vector<std::pair<std::string, testing_support::Table>> Dump(const std::string& at) {
        auto db = platform::Database::OpenDatabase(at);
        std::vector<std::pair<std::string, testing_support::Table>> out;
        std::vector<std::string> tables;
        for (const auto& t : platform::TablesOfScript(store::SchemaDdl()))
            tables.push_back(t.table);
        for (const char* t : {"tblchange_journal", "tblparameter_limits", "field_notes", "lab log",
                              "station_notes"})
            tables.push_back(t);
        for (const auto& t : tables) {
            const std::string name = t.find(' ') == std::string::npos ? t : "\"" + t + "\"";
            // A server reads a name as SQL does, a file's catalogue as it is spelt.
            std::string order;
            for (std::size_t i = 1; i <= db->ColumnNames(db->server() ? name : t).size(); ++i)
                order += (order.empty() ? "" : ", ") + std::to_string(i);
            out.emplace_back(t, QueryRows(*db, "select * from " + name + " order by " + order));
        }
        return out;
    }

    testing_support::TempDir dir;
    const std::string from = dir.file("office.db");
};

// To a new file or a server, then back into a file: every table holds the same rows, the
// report names each with its count, and the History and undo work on the copies.
TEST_F(WholeCopy, EveryTableGoesThereAndBackAndTheHistoryWorksOnTheCopy) {
    const std::string there = testing_support::EmptyLocation(dir.file("there.db"));
    const std::string back = dir.file("back.db");
    std::ostringstream progress;
    store::CopyDatabase(from, there, progress);
    store::CopyDatabase(there, back, progress);
    const auto original = Dump(from);
    ASSERT_EQ(original[original.size() - 5].second.size(), 4u);  // the journal's rows
    ASSERT_EQ(original.back().second.size(), 2u);                // the view's
    EXPECT_EQ(Dump(there), original);
    EXPECT_EQ(Dump(back), original);
    EXPECT_NE(progress.str().find("Checked: each of the 18 tables holds what the source holds, "
                                  "row for row:\n  tblOrganization: 0 rows\n"),
              std::string::npos)
        << progress.str();
    EXPECT_NE(progress.str().find("  tblchange_journal: 4 rows\n  tblparameter_limits: 2 rows\n"
                                  "  Field_Notes: 2 rows\n  Lab Log: 1 row\n"),
              std::string::npos)
        << progress.str();

    for (const std::string& at : {there, back}) {
        auto db = platform::Database::OpenDatabase(at);
        // The office's own keys, constraints and indexes came along.
        EXPECT_EQ(platform::KeyColumns(*db, "field_notes").size(), 1u) << at;
        EXPECT_THROW(db->Execute("insert into field_notes values (3, 109, '2004-01-14 09:30:00', "
                                 "NULL, NULL)"),
                     platform::EngineError)
            << at;
        EXPECT_EQ(
            QueryValue(*db, db->server() ? "select count(*) from pg_indexes where indexname = "
                                           "'field_notes_note'"
                                         : "select count(*) from sqlite_master where name = "
                                           "'field_notes_note'"),
            "1")
            << at;
        if (db->server()) {  // the capture triggers, as only a table's owner may add them
            EXPECT_EQ(QueryValue(*db,
                                 "select count(*) from pg_trigger where tgname = "
                                 "'dataloader_capture' and tgrelid = 'field_notes'::regclass"),
                      "1");
        }
        store::History history(*db);
        EXPECT_EQ(history.Rows(""),
                  store::History(*platform::Database::OpenDatabase(from)).Rows(""))
            << at;
        EXPECT_EQ(history.Undo(), "deleted sample 2") << at;
        EXPECT_EQ(QueryValue(*db, "select comment from tblsample where sample_code = 2"), "second");
        // A save on the copy goes on with the journal's numbering.
        store::Journaled(*db, [&] {
            db->Execute("update field_notes set note = ? where note_id = ?",
                        {std::string("thin ice"), 1LL});
        });
        // The table as the copy spells it: a file keeps the name's letter case.
        EXPECT_TRUE(platform::EqualsNoCase(history.Undo(), "changed a row of field_notes")) << at;
        EXPECT_EQ(QueryValue(*db, "select note from field_notes where note_id = 1"), "ice");
    }
}

// What the target cannot take is named before anything is written: a virtual table anywhere,
// and on a server a trigger written for SQLite. A file takes the trigger as it stands.
TEST_F(WholeCopy, WhatTheTargetCannotTakeIsRefusedAndNothingIsWritten) {
    platform::Database::OpenDatabase(from)->ExecuteNative(
        "CREATE VIRTUAL TABLE note_words USING fts5(note)");
    const std::string there = testing_support::EmptyLocation(dir.file("there.db"));
    std::ostringstream progress;
    auto refusal = [&] {
        try {
            store::CopyDatabase(from, there, progress);
        } catch (const store::Refused& r) {
            return std::string(r.what());
        }
        return std::string("copied");
    };
    auto nothingThere = [&] {
        if (!testing_support::OnServer()) return !std::filesystem::exists(there);
        return QueryValue(*platform::Database::OpenDatabase(there),
                          "select count(*) from pg_class where relnamespace = "
                          "current_schema()::regnamespace") == "0";
    };
    EXPECT_EQ(refusal(),
              "Nothing was copied: the copy cannot take the virtual table note_words (its rows "
              "live in its module's own tables).");
    EXPECT_TRUE(nothingThere());
    EXPECT_EQ(progress.str(), "");

    platform::Database::OpenDatabase(from)->ExecuteNative(
        "DROP TABLE note_words; CREATE TRIGGER notes_stamp AFTER INSERT ON Field_Notes BEGIN "
        "UPDATE Field_Notes SET seen = datetime('now') WHERE note_id = new.note_id; END");
    if (testing_support::OnServer()) {
        EXPECT_EQ(refusal(),
                  "Nothing was copied: the copy cannot take the trigger notes_stamp (its body is "
                  "written for the database that holds it).");
        EXPECT_TRUE(nothingThere());
        // A view in words only SQLite knows: found when it is made, and all undone.
        platform::Database::OpenDatabase(from)->ExecuteNative(
            "DROP TRIGGER notes_stamp; CREATE VIEW noted AS SELECT ifnull(note, '') FROM "
            "Field_Notes");
        EXPECT_EQ(refusal().rfind("The view noted cannot be made at ", 0), 0u);
        EXPECT_TRUE(nothingThere());
        // A value the server's column cannot hold: found while copying, and all undone.
        platform::Database::OpenDatabase(from)->ExecuteNative(
            "DROP VIEW noted; UPDATE Field_Notes SET depth = 'deep' WHERE note_id = 2");
        EXPECT_NE(refusal().find("Row 2 of Field_Notes cannot be copied to "), std::string::npos);
        EXPECT_TRUE(nothingThere());
        // A value the server's column would round: the check finds the copy is not the same.
        platform::Database::OpenDatabase(from)->ExecuteNative(
            "UPDATE Field_Notes SET depth = NULL, station_id = 105.5 WHERE note_id = 2");
        EXPECT_EQ(refusal(),
                  "The copy of Field_Notes does not hold the values the source holds: nothing "
                  "was copied.");
        EXPECT_TRUE(nothingThere());
        return;
    }
    EXPECT_EQ(refusal(), "copied");
    auto db = platform::Database::OpenDatabase(there);
    // Numbered on from the highest number the source gave, and stamped by the trigger.
    db->Execute("insert into field_notes (station_id) values (101)");
    EXPECT_NE(QueryValue(*db, "select seen from field_notes where note_id = 4"), "");
}

}  // namespace
