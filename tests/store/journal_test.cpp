// The journal: every write's rows in the same transaction as the write, one action per
// write, and the undo of the user's last action, refused when its rows were touched since.
#include "Journal.h"

#include <gtest/gtest.h>

#include "Connection.h"
#include "Database.h"
#include "EngineSupport.h"
#include "History.h"
#include "Results.h"
#include "Samples.h"

using testing_support::QueryValue;
using Strings = std::vector<std::string>;

namespace {

// Every column of the hand-entered tables, each as its storage class and exact value.
const char* const kDump[] = {"tblsample", "tblresults", "tblresults_val_nonnumeric",
                             "tblreplicates"};

class Journal : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir.file("j" + std::to_string(++made) + ".db");
        db = testing_support::EmptyDatabase(file);
        // Values of every storage class, some not of their column's type, as another program
        // may leave them: a text depth, a blob comment, a real of 17 digits, a big integer,
        // a grade that is not UTF-8, text with quotes, a backslash and control characters.
        if (testing_support::OnServer()) {
            // A server keeps each column's own type: its extremes instead.
            db->ExecuteNative(
                "insert into tblsample (idloc, sample_code, start_date, sample_depth, comment, "
                "station_id) values ('V', 5, '2004-03-04 10:30:00', 1e-300, 'Ødegård''s "
                "\"pond\" \\' || chr(9) || chr(10), 2147483647), ('V', 6, '2004-03-05', 2.5, "
                "NULL, 101);"
                "insert into tblresults values ('V', 5, 400, 0.30000000000000004, '<', 'A', "
                "'x'), ('V', 6, 400, 7, NULL, '', '');"
                "insert into tblresults_val_nonnumeric values ('V', 5, 410, 'TNTC', NULL, "
                "'A\\\"');"
                "insert into tblreplicates values ('V', 5, 400, '0.3', NULL, NULL);");
            return;
        }
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, start_date, sample_depth, comment, "
            "station_id) values ('V', 5, '2004-03-04 10:30:00', 'deep', 'Ødegård''s \"pond\" \\' "
            "|| char(9, 10), "
            "9007199254740993), ('V', 6, '2004-03-05', 2.5, NULL, 101);"
            "insert into tblresults values ('V', 5, 400, 0.30000000000000004, '<', 'A', "
            "x'00ff10'), ('V', 6, 400, 7, NULL, '', '');"
            "insert into tblresults_val_nonnumeric values ('V', 5, 410, 'TNTC', NULL, "
            "cast(x'41ff0a5c22' as text));"
            "insert into tblreplicates values ('V', 5, 400, '0.3', NULL, NULL);");
    }
    Strings Dump() {
        Strings rows;
        for (const char* table : kDump) {
            std::string cells;
            for (const auto& column : db->ColumnNames(table))
                if (testing_support::OnServer())
                    cells += " || '|' || pg_typeof(" + column + ")::text || ':' || coalesce(" +
                             column + "::text, 'null')";
                else
                    cells += " || '|' || typeof(" + column + ") || ':' || case typeof(" + column +
                             ") when 'real' then printf('%.17g', " + column + ") else hex(" +
                             column + ") end";
            for (const auto& row :
                 testing_support::QueryRows(*db, "select '" + std::string(table) + "'" + cells +
                                                     " from " + table + " order by sample_code, 1"))
                rows.push_back(row[0]);
        }
        return rows;
    }
    long long JournalRows() {
        if (!db->TableExists("tblchange_journal")) return 0;
        return std::stoll(QueryValue(*db, "select count(*) from tblchange_journal"));
    }
    std::string Refusal(const std::function<void()>& f) {
        try {
            f();
        } catch (const store::Refused& r) {
            return r.what();
        }
        return "not refused";
    }
    store::History history() { return store::History(*db); }
    store::StoredResult Store(const std::string& value) {
        store::Result r;
        r.parameterCode = "410";
        r.value = value;
        r.kind = store::KindOfEntry(value, false);
        return store::Results(*db).Store({"5", "3/4/2004 10:30:00 AM"}, r);
    }

    testing_support::TempDir dir;
    int made = 0;
    std::string file;
    std::shared_ptr<platform::Database> db;
};

}  // namespace

TEST_F(Journal, UndoOfASampleDeleteBringsBackTheSampleAndEveryResultByteForByte) {
    ASSERT_FALSE(db->TableExists("tblchange_journal"));
    if (testing_support::OnServer()) {  // made with the tables, as only their owner may
        EXPECT_EQ(QueryValue(*db,
                             "select count(*) from pg_trigger where tgrelid = "
                             "'tblsample'::regclass and tgname = 'dataloader_capture'"),
                  "1");
        // A table that lost it, or was made by other means, gets it at the next save.
        db->ExecuteNative("drop trigger dataloader_capture on tblsample");
    }
    const Strings before = Dump();
    store::Samples(*db).Delete(5);
    EXPECT_EQ(Dump().size(), before.size() - 4);
    EXPECT_EQ(JournalRows(), 4);
    // JSON other programs can read: control characters escaped.
    const char* valid = testing_support::OnServer()
                            ? "select min((coalesce(old_values, new_values)::json is not null)"
                              "::int) from tblchange_journal"
                            : "select min(json_valid(coalesce(old_values, new_values))) from "
                              "tblchange_journal";
    EXPECT_EQ(QueryValue(*db, valid), "1");
    EXPECT_EQ(QueryValue(*db, "select distinct action || '/' || user_name from tblchange_journal"),
              "deleted sample 5 with its 3 results/" + store::CurrentUser());

    EXPECT_EQ(history().Undo(), "deleted sample 5 with its 3 results");
    EXPECT_EQ(Dump(), before);
    // The undo is journaled as an action of its own, and is not itself undone next.
    EXPECT_EQ(QueryValue(*db,
                         "select count(*) || ' ' || min(operation) || ' ' || "
                         "min(undoes_action) from tblchange_journal where action_id = 2"),
              "4 insert 1");
    EXPECT_EQ(Refusal([&] { history().Undo(); }), "There is nothing to undo.");
}

TEST_F(Journal, EachWriteIsOneActionThatUndoTakesBackWhole) {
    // A number over a text result: the text deleted and the number added, in one action.
    Store("12");
    EXPECT_EQ(QueryValue(*db, "select distinct action from tblchange_journal"),
              "deleted the text result of parameter 410 of sample 5, added the numeric result of "
              "parameter 410 of sample 5");
    const Strings beforeEdit = Dump();
    Store("13");
    EXPECT_EQ(QueryValue(*db, "select action from tblchange_journal where action_id = 2"),
              "changed the numeric result of parameter 410 of sample 5");
    EXPECT_EQ(history().Undo(), "changed the numeric result of parameter 410 of sample 5");
    EXPECT_EQ(Dump(), beforeEdit);
    EXPECT_EQ(history().Undo(),
              "deleted the text result of parameter 410 of sample 5, added the numeric result of "
              "parameter 410 of sample 5");
    EXPECT_EQ(QueryValue(*db,
                         "select result_value from tblresults_val_nonnumeric where "
                         "sample_code = 5"),
              "TNTC");
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults where parameter_code = 410"), "0");
}

TEST_F(Journal, UndoRefusesWhenARowOfTheActionWasChangedSince) {
    struct Case {
        const char* name;
        std::function<void()> action, meddle;
    };
    store::Sample sample;
    sample.code = 6;
    sample.comment = "checked";
    std::vector<Case> cases = {
        {"a deleted sample keyed again", [&] { store::Samples(*db).Delete(5); },
         [&] { db->ExecuteNative("insert into tblsample (idloc, sample_code) values ('V', 5)"); }},
        {"a changed sample changed again", [&] { store::Samples(*db).Update(sample); },
         [&] { db->ExecuteNative("update tblsample set comment = 'x' where sample_code = 6"); }},
        {"a stored result deleted", [&] { Store("12"); },
         [&] { db->ExecuteNative("delete from tblresults where parameter_code = 410"); }},
    };
    if (!testing_support::OnServer())  // a server's text column holds text alone
        cases.push_back({"the same text, stored as a blob",
                         [&] { store::Samples(*db).Update(sample); },
                         [&] {
                             db->ExecuteNative(
                                 "update tblsample set comment = cast(comment as "
                                 "blob) where sample_code = 6");
                         }});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.action();
        c.meddle();
        const Strings meddled = Dump();
        const long long journaled = JournalRows();
        EXPECT_NE(Refusal([&] { history().Undo(); }).find("has been changed since"),
                  std::string::npos);
        EXPECT_EQ(Dump(), meddled);
        EXPECT_EQ(JournalRows(), journaled);
    }
}

TEST_F(Journal, AWriteThatFailsLeavesNoJournalRowAndAJournalThatFailsUndoesTheWrite) {
    testing_support::RefuseWrites(*db, "refuse", "INSERT", "tblresults");
    const Strings before = Dump();
    EXPECT_NE(testing_support::ErrorNumber([&] { Store("12"); }), 0);
    EXPECT_EQ(Dump(), before);  // the text result it deleted first is back
    EXPECT_EQ(JournalRows(), 0);

    // A journal that cannot be written: the delete it would record is not made either.
    db->ExecuteNative("create view tblchange_journal as select 1 as change_id");
    EXPECT_NE(testing_support::ErrorNumber([&] { store::Samples(*db).Delete(5); }), 0);
    EXPECT_EQ(Dump(), before);
}

TEST_F(Journal, AFileWithoutTheJournalOpensAndTheHistoryListsBySample) {
    db.reset();
    db = store::OpenDataFile(testing_support::Location(file));
    EXPECT_TRUE(history().Rows("").empty());
    Store("12");
    Store("13");
    store::Samples(*db).Delete(6);
    EXPECT_EQ(history().Rows("6").size(), 2u);
    db->ExecuteNative("insert into TBLParameter_Codes values (410, 'Coli', 'Coliform')");
    const store::GridRows five = history().Rows("5");
    ASSERT_EQ(five.size(), 3u);
    // Newest first; an update shows only what it changed, in words and as stored; a row named
    // by its key.
    EXPECT_EQ(Strings(five[0].begin() + 3, five[0].end()),
              (Strings{"changed", "numeric result", "sample 5, parameter 410-Coli",
                       "value 12 -> 13", "changed the numeric result of parameter 410 of sample 5",
                       "tblresults", "idloc=V; parameter_code=410; sample_code=5",
                       "result_value=12", "result_value=13"}));
    // The first store of 12 replaced the text result: added and deleted rows say every value.
    EXPECT_EQ(
        (Strings{five[1][3] + " " + five[1][4] + ": " + five[1][6], five[2][3] + " " + five[2][4]}),
        (Strings{"added numeric result: value 12, remark empty, grade empty, comment empty",
                 "deleted text result"}));
    EXPECT_EQ(history().Rows("").front()[0], "3");
    EXPECT_EQ(Refusal([&] { history().Rows("5 or 1=1"); }),
              "The sample number \"5 or 1=1\" is not a whole number.");
}

TEST_F(Journal, ARunOfChangesIsOneJournalRowAndComesBackByteForByte) {
    // More results of sample 5, deleted with it in one run: values of every storage class,
    // some not of their column's type.
    db->ExecuteNative(
        testing_support::OnServer()
            ? "insert into tblresults values ('V', 5, 401, 1e-300, NULL, 'Ødegård', 'a\"b\\' || "
              "chr(9)), ('V', 5, 2147483647, 7, NULL, NULL, NULL)"
            : "insert into tblresults values ('V', 5, 401, 'deep', NULL, 'Ødegård', "
              "cast(x'41ff0a5c22' as text)), ('V', 5, 9007199254740993, 9e999, NULL, NULL, "
              "'a\"b\\' || char(9)), ('V', 5, 402, 1e-300, NULL, x'', 7.5)");
    const Strings before = Dump();
    store::Samples(*db).Delete(5);
    const std::size_t deleted = before.size() - Dump().size();
    EXPECT_EQ(JournalRows(), 4);
    EXPECT_EQ(
        QueryValue(*db, "select row_key from tblchange_journal where table_name = 'tblresults'"),
        "[\"idloc\",\"sample_code\",\"parameter_code\"]");
    EXPECT_EQ(history().Rows("5").size(), deleted);
    EXPECT_EQ(history().Undo(),
              "deleted sample 5 with its " + std::to_string(deleted - 1) + " results");
    EXPECT_EQ(Dump(), before);
}

TEST_F(Journal, ARunIsListedAndUndoneLastChangeFirst) {
    const Strings before = Dump();
    store::Journaled(*db, [&] {
        db->ExecuteNative(
            "insert into tblresults values ('V', 6, 401, 1, NULL, '', ''), ('V', 6, 402, 2, "
            "NULL, '', ''); update tblresults set result_value = 8 where parameter_code = 400 "
            "and sample_code = 6; update tblresults set result_value = 9 where parameter_code "
            "= 400 and sample_code = 6");
    });
    EXPECT_EQ(JournalRows(), 2);
    Strings listed;
    for (const auto& row : history().Rows("6"))
        listed.push_back(row[3] + " " + row[9] + " " + row[10] + " > " + row[11]);
    const std::string key = "idloc=V; parameter_code=";
    EXPECT_EQ(listed,
              (Strings{"changed " + key + "400; sample_code=6 result_value=8 > result_value=9",
                       "changed " + key + "400; sample_code=6 result_value=7 > result_value=8",
                       "added " + key +
                           "402; sample_code=6  > comments=; grade=; "
                           "idloc=V; parameter_code=402; remark_code=Null; result_value=2; "
                           "sample_code=6",
                       "added " + key +
                           "401; sample_code=6  > comments=; grade=; "
                           "idloc=V; parameter_code=401; remark_code=Null; result_value=1; "
                           "sample_code=6"}));
    history().Undo();
    EXPECT_EQ(Dump(), before);
}

TEST_F(Journal, AJournalRowAnOlderBuildWroteIsListedAndUndone) {
    store::Journaled(*db, [] {});  // makes the journal
    db->ExecuteNative(
        "insert into tblchange_journal (action_id, action, changed_at, user_name, "
        "table_name, operation, row_key, sample_code, old_values, new_values) values (1, "
        "'added it', '2004-03-04 10:30:00', '" +
        store::CurrentUser() +
        "', 'tblresults', 'insert', '{\"idloc\":[\"text\",\"V\"],\"parameter_code\":[\"integer\","
        "\"400\"],\"sample_code\":[\"integer\",\"6\"]}', 6, NULL, '{\"comments\":[\"text\",\"\"],"
        "\"grade\":[\"text\",\"\"],\"idloc\":[\"text\",\"V\"],\"parameter_code\":[\"integer\","
        "\"400\"],\"remark_code\":[\"null\"],\"result_value\":[\"real\",\"7\"],\"sample_code\":["
        "\"integer\",\"6\"]}')");
    const store::GridRows rows = history().Rows("6");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][5] + " / " + rows[0][9],
              "sample 6, parameter 400 / idloc=V; parameter_code=400; sample_code=6");
    EXPECT_EQ(history().Undo(), "added it");
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults where sample_code = 6"), "0");
}

TEST_F(Journal, ARunHoldsAThousandChangesAtMost) {
    store::Journaled(*db, [&] {
        db->ExecuteNative(testing_support::OnServer()
                              ? "insert into tblresults select 'V', 6, n, n, NULL, '', '' from "
                                "generate_series(1000, 3000) as n"
                              : "with recursive n(v) as (select 1000 union all select v + 1 from "
                                "n where v < 3000) insert into tblresults select 'V', 6, v, v, "
                                "NULL, '', '' from n");
    });
    EXPECT_EQ(JournalRows(), 3);
    EXPECT_EQ(history().Rows("6").size(), 2001u);
}
