#include <gtest/gtest.h>
#include <malloc.h>
#include <sqlite3.h>

#include <filesystem>

#include "EngineError.h"
#include "EngineSupport.h"
#include "RecordsetImpl.h"
#include "RowStream.h"
#include "StatementCache.h"

using namespace platform;
using testing_support::ErrorNumber;
using testing_support::QueryRows;
using testing_support::QueryValue;
using testing_support::TempDir;

namespace {

const char* kSchema = R"(
create table t (id integer, name text, d datetime, r real, flag boolean, note text default 'dflt');
insert into t values (1, 'one', '2004-03-04 10:30:00', 2.5, 1, 'a'),
                     (2, 'two', null, null, 0, null),
                     (3, 'three', '2004-03-05 00:00:00', -1, null, '2004-03-04 00:00:00');
create table twin (a text, b integer);
insert into twin values ('same', 1), ('same', 1), ('same', 1);
create table keyed (k integer primary key, v text not null);
insert into keyed values (1, 'x');
)";

class RecordsetTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::shared_ptr<Database> db_ = dir.NewDatabase(kSchema);
    Database& db() { return *db_; }
    std::string path() const { return dir.file("test.db"); }
    long long count(const std::string& sql) {
        return std::stoll(QueryValue(db(), "select count(*) from (" + sql + ")"));
    }
};

TEST_F(RecordsetTest, MovesFollowClassicEofAndBof) {
    auto empty = db().OpenRecordset("select * from t where id = 99");
    EXPECT_TRUE(empty->Eof() && empty->Bof());
    EXPECT_EQ(ErrorNumber([&] { empty->MoveFirst(); }), err::NoCurrentRecord);
    EXPECT_EQ(ErrorNumber([&] { empty->Edit(); }), err::NoCurrentRecord);
    EXPECT_EQ(empty->FieldCount(), 6);

    auto rs = db().OpenRecordset("select id from t order by id");
    auto at = [&] { return rs->Fields("id").Value().toInteger(); };
    EXPECT_FALSE(rs->Eof() || rs->Bof());
    EXPECT_EQ(at(), 1);
    rs->MoveNext();
    rs->MoveNext();
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof() && !rs->Bof());
    EXPECT_EQ(ErrorNumber([&] { at(); }), err::NoCurrentRecord);
    EXPECT_EQ(ErrorNumber([&] { rs->MoveNext(); }), err::NoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(at(), 3);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof() && !rs->Eof());
    EXPECT_EQ(ErrorNumber([&] { rs->MovePrevious(); }), err::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(at(), 1);
    rs->MoveLast();
    EXPECT_EQ(at(), 3);
    rs->Close();
    EXPECT_EQ(ErrorNumber([&] { rs->Eof(); }), err::ObjectClosed);
}

TEST_F(RecordsetTest, ValuesComeBackTypedByDeclaredType) {
    auto rs = db().OpenRecordset("select *, 'x' as k, 1.0 * id as r2 from t where id = 1");
    EXPECT_EQ(rs->Fields("id").Value(), Variant(1));
    EXPECT_EQ(rs->Fields("name").Value(), Variant("one"));
    EXPECT_EQ(rs->Fields("d").Value(), Variant(DateTime{2004, 3, 4, 10, 30, 0}));
    EXPECT_EQ(rs->Fields("d").Value().toText(), "3/4/2004 10:30:00 AM");
    EXPECT_EQ(rs->Fields("r").Value(), Variant(2.5));
    EXPECT_EQ(rs->Fields("flag").Value(), Variant::fromBool(true));
    EXPECT_EQ(rs->Fields("k").Value(), Variant("x"));
    EXPECT_EQ(rs->Fields("r2").Value(), Variant(1.0));
    rs = db().OpenRecordset("t");
    rs->MoveLast();
    // A date-shaped text in a text column stays text.
    EXPECT_EQ(rs->Fields("note").Value(), Variant("2004-03-04 00:00:00"));
    rs->MovePrevious();
    EXPECT_TRUE(rs->Fields("d").Value().isNull());
    EXPECT_TRUE(rs->Fields("r").Value().isNull());
}

TEST_F(RecordsetTest, ColumnPositionsInOrderByKeepTheirMeaning) {
    auto rs = db().OpenRecordset("select name, id from t order by 2 desc");
    ASSERT_TRUE(rs->Updatable());
    EXPECT_EQ(rs->Fields("id").Value(), Variant(3));
    rs->Edit();
    rs->Fields("name") = "drei";
    rs->Update();
    EXPECT_EQ(count("select * from t where id = 3 and name = 'drei'"), 1);
}

TEST_F(RecordsetTest, FieldNamesIgnoreCaseAndHideTheRowid) {
    auto rs = db().OpenRecordset("select * from t");
    ASSERT_TRUE(rs->Updatable());
    EXPECT_EQ(rs->FieldCount(), 6);
    EXPECT_EQ(rs->FieldName(0), "id");
    EXPECT_EQ(rs->Fields("NAME").Value(), rs->Fields("name").Value());
    EXPECT_EQ(rs->Fields("T.Name").Value(), Variant("one"));
    EXPECT_EQ(rs->Fields(1).Name(), "name");
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("__rowid__"); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("rowid"); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("nosuch"); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumber([&] { rs->Fields(6); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("other.name"); }), err::ItemNotFound);
}

TEST_F(RecordsetTest, JoinReachesSharedNamesThroughTheTable) {
    db().ExecuteNative("create table u (id integer, name text); insert into u values (1, 'uno');");
    auto rs = db().OpenRecordset("select * from t inner join u on t.id = u.id");
    EXPECT_FALSE(rs->Updatable());
    EXPECT_EQ(rs->Fields("name").Value(), Variant("one"));  // the first of the two
    EXPECT_EQ(rs->Fields("u.name").Value(), Variant("uno"));
    EXPECT_EQ(rs->Fields("T.NAME").Value(), Variant("one"));
    EXPECT_EQ(ErrorNumber([&] { rs->AddNew(); }), err::NotUpdatable);
    EXPECT_EQ(ErrorNumber([&] { rs->Delete(); }), err::NotUpdatable);
}

TEST_F(RecordsetTest, AddNewLeavesTheCursorAndUnsetColumnsTakeTheirDefault) {
    auto rs = db().OpenRecordset("select * from t where id = 2");
    rs->AddNew();
    rs->Fields("id") = "7";
    rs->Fields("name") = 2.5;
    EXPECT_EQ(rs->Fields("name").Value(), Variant(2.5));  // pending value as set
    EXPECT_TRUE(rs->Fields("note").Value().isNull());
    rs->Update();
    EXPECT_EQ(rs->Fields("id").Value(), Variant(2));  // still on its row
    EXPECT_EQ(QueryRows(db(), "select name, note from t where id = 7"),
              (testing_support::Table{{"2.5", "dflt"}}));
}

TEST_F(RecordsetTest, ConversionOnWriteFollowsTheColumnType) {
    struct Case {
        const char* field;
        Variant value;
        const char* stored;  // as typeof || ':' || value; nullptr for a conversion error
    } cases[] = {
        {"id", Variant("2.5"), "integer:2"},  // half to even
        {"id", Variant("3.5"), "integer:4"},
        {"id", Variant(" -12 "), "integer:-12"},
        {"id", Variant(6.5), "integer:6"},
        {"id", Variant("abc"), nullptr},
        {"id", Variant(""), nullptr},
        {"id", Variant("1,000"), nullptr},
        {"id", Variant(DateTime{2004, 3, 4}), nullptr},
        {"r", Variant("-.5"), "real:-0.5"},
        {"r", Variant(3), "real:3.0"},
        {"r", Variant(" 1e3 "), "real:1000.0"},
        {"r", Variant("12abc"), nullptr},
        {"name", Variant(DateTime{2004, 3, 4}), "text:3/4/2004"},
        {"name", Variant(""), "text:"},
        {"name", Variant(7), "text:7"},
        {"name", Variant(2.5), "text:2.5"},
        {"d", Variant("2004-03-04 14:05:00"), "text:2004-03-04 14:05:00"},
        {"d", Variant("12/31/2003 12:00:00 PM"), "text:2003-12-31 12:00:00"},
        {"d", Variant("3/4/2004 2:05 PM"), "text:2004-03-04 14:05:00"},
        {"d", Variant("31/31/2004"), nullptr},
        {"d", Variant(""), nullptr},
        {"flag", Variant("False"), "integer:0"},
        {"flag", Variant("True"), "integer:1"},
        {"flag", Variant("maybe"), nullptr},
        {"note", Variant(), "null:"},
    };
    for (const auto& c : cases) {
        auto rs = db().OpenRecordset("select * from t where id = 50");
        const long long before = count("select * from t");
        rs->AddNew();
        rs->Fields(c.field) = c.value;
        if (!c.stored) {
            EXPECT_EQ(ErrorNumber([&] { rs->Update(); }), err::DataTypeConversion) << c.field;
            EXPECT_EQ(count("select * from t"), before) << c.field;
            continue;
        }
        rs->Update();
        auto check = db().OpenRecordset(std::string("select typeof(") + c.field + ") || ':' || " +
                                        "coalesce(" + c.field +
                                        ", '') as s from t order by rowid desc limit 1");
        EXPECT_EQ(check->Fields("s").Value().toText(), c.stored) << c.field;
    }
}

TEST_F(RecordsetTest, EditAndDeleteHitExactlyTheCurrentRowAmongTwins) {
    auto rs = db().OpenRecordset("select * from twin where a = 'same'");
    rs->MoveNext();
    rs->Edit();
    rs->Fields("b") = 2;
    rs->Update();
    EXPECT_EQ(rs->Fields("b").Value(), Variant(2));
    EXPECT_EQ(QueryRows(db(), "select b from twin order by rowid"),
              (testing_support::Table{{"1"}, {"2"}, {"1"}}));

    rs->MoveFirst();
    rs->Delete();
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("b").Value(); }), err::NoCurrentRecord);
    EXPECT_FALSE(rs->Eof());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("b").Value(), Variant(2));
    rs->MovePrevious();  // skips the deleted first row
    EXPECT_TRUE(rs->Bof());
    EXPECT_EQ(ErrorNumber([&] {
                  rs->MoveFirst();
                  rs->MovePrevious();
                  rs->MovePrevious();
              }),
              err::NoCurrentRecord);
    EXPECT_EQ(count("select * from twin"), 2);
    EXPECT_EQ(count("select * from twin where b = 2"), 1);
}

TEST_F(RecordsetTest, FailedUpdatesWriteNothing) {
    auto rs = db().OpenRecordset("select * from t where id = 1");
    rs->Edit();
    rs->Fields("name") = "changed";
    rs->Fields("r") = "not a number";
    EXPECT_EQ(ErrorNumber([&] { rs->Update(); }), err::DataTypeConversion);
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields("name").Value(), Variant("one"));
    EXPECT_EQ(count("select * from t where name = 'changed'"), 0);

    auto keyed = db().OpenRecordset("keyed");
    keyed->AddNew();
    keyed->Fields("k") = 1;
    keyed->Fields("v") = "dup";
    EXPECT_EQ(ErrorNumber([&] { keyed->Update(); }), err::DuplicateKey);
    keyed->CancelUpdate();
    keyed->AddNew();
    keyed->Fields("k") = 2;
    EXPECT_EQ(ErrorNumber([&] { keyed->Update(); }), err::ValueRequired);
    keyed->CancelUpdate();
    EXPECT_EQ(count("select * from keyed"), 1);

    EXPECT_EQ(ErrorNumber([&] { keyed->Update(); }), err::UpdateWithoutAddNew);
    EXPECT_EQ(ErrorNumber([&] { keyed->Fields("v") = "x"; }), err::UpdateWithoutAddNew);
    auto constant = db().OpenRecordset("select *, 'c' as extra from keyed");
    constant->AddNew();
    EXPECT_EQ(ErrorNumber([&] { constant->Fields("extra") = "y"; }), err::FieldNotUpdatable);
}

// A row the cursor comes back to is shown as its table now holds it: what another recordset
// saved meanwhile is seen, and a row deleted meanwhile is passed over.
TEST_F(RecordsetTest, ARowComeBackToShowsWhatItsTableNowHolds) {
    auto rs = db().OpenRecordset("select id, name, d, 'k' as kind from t order by id");
    rs->MoveLast();
    auto other = db().OpenRecordset("select * from t where id = 1");
    other->Edit();
    other->Fields("name") = "uno";
    other->Fields("d") = "1/2/2003";
    other->Update();
    other->Close();
    db().ExecuteClassic("delete from t where id = 2");

    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("id").Value(), Variant(1));
    EXPECT_EQ(rs->Fields("name").Value(), Variant("uno"));
    EXPECT_EQ(rs->Fields("d").Value(), Variant(DateTime{2003, 1, 2, 0, 0, 0}));
    EXPECT_EQ(rs->Fields("kind").Value(), Variant("k"));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("id").Value(), Variant(3));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("name").Value(), Variant("uno"));

    // Edits made through the set itself stay as written.
    rs->Edit();
    rs->Fields("name") = "one again";
    rs->Update();
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("name").Value(), Variant("one again"));
}

// A row deleted elsewhere is reported as such, also when SQLite has given its rowid to the
// next insert: a set kept open must not take that newcomer for the row it read.
TEST_F(RecordsetTest, ARowDeletedElsewhereIsNotEditedEvenWhenItsRowidIsTakenOver) {
    auto one = db().OpenRecordset("select * from t where id = 1");
    db().ExecuteClassic("delete from t where id = 1");
    one->Edit();
    one->Fields("name") = "late";
    EXPECT_EQ(ErrorNumber([&] { one->Update(); }), err::RecordDeleted);

    db().ExecuteNative(
        "create table s (idloc text, code integer, note text, primary key (idloc, code));"
        "insert into s values ('V', 41, 'kept'), ('V', 42, 'last');");
    auto rs = db().OpenRecordset("select * from s where idloc = 'V' order by code");
    rs->MoveLast();
    ASSERT_EQ(rs->Fields("code").Value(), Variant(42));
    db().ExecuteNative("delete from s where code = 42; insert into s values ('W', 7, 'other');");
    ASSERT_EQ(count("select * from s where rowid = 2 and idloc = 'W'"), 1);

    rs->Edit();
    rs->Fields("note") = "overwritten";
    EXPECT_EQ(ErrorNumber([&] { rs->Update(); }), err::RecordDeleted);
    EXPECT_EQ(ErrorNumber([&] { rs->Delete(); }), err::RecordDeleted);
    EXPECT_EQ(count("select * from s where idloc = 'W' and note = 'other'"), 1);

    // Come back to, the row read is gone from the set.
    rs->MoveFirst();
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("note").Value(), Variant("kept"));
}

TEST_F(RecordsetTest, UpdatesJoinTheOpenTransaction) {
    db().BeginTrans();
    EXPECT_TRUE(db().InTransaction());
    EXPECT_EQ(ErrorNumber([&] { db().BeginTrans(); }), err::TransactionNested);
    auto rs = db().OpenRecordset("select * from t where id = 1");
    rs->AddNew();
    rs->Fields("id") = 8;
    rs->Update();
    rs->Close();
    db().Rollback();
    EXPECT_EQ(count("select * from t where id = 8"), 0);

    db().BeginTrans();
    EXPECT_EQ(db().ExecuteClassic("update t set note = 'n' where d < #3/5/2004#"), 1);
    db().CommitTrans();
    EXPECT_FALSE(db().InTransaction());
    EXPECT_EQ(count("select * from t where note = 'n' and id = 1"), 1);
    EXPECT_EQ(ErrorNumber([&] { db().CommitTrans(); }), err::NoTransaction);
    // Literals where SQLite takes no parameters still run as written.
    db().ExecuteClassic("create table c (a text check (a <> 'x'))");
    EXPECT_EQ(db().ExecuteClassic("insert into c values ('y')"), 1);
    EXPECT_EQ(ErrorNumber([&] { db().ExecuteClassic("insert into c values ('x')"); }), err::GeneralEngine);
    EXPECT_EQ(ErrorNumber([&] { db().ExecuteClassic("delete from c; delete from t"); }), err::SyntaxError);
    EXPECT_EQ(count("select * from t"), 3);
    EXPECT_EQ(ErrorNumber([&] { db().Rollback(); }), err::NoTransaction);
}

// A delete rolled back never happened, also for the set that made it: its row is still the
// current one and can be deleted again. A delete that was committed stays, whatever
// transaction is rolled back later.
TEST_F(RecordsetTest, ADeleteRolledBackLeavesTheRowInTheSet) {
    auto rs = db().OpenRecordset("select * from t order by id");
    db().BeginTrans();
    rs->Delete();
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("name").Value(); }), err::NoCurrentRecord);
    db().Rollback();
    EXPECT_EQ(rs->Fields("name").Value().toText(), "one");
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("name").Value().toText(), "one");

    db().BeginTrans();
    rs->Delete();
    db().CommitTrans();
    db().BeginTrans();
    db().Rollback();
    EXPECT_EQ(ErrorNumber([&] { rs->Fields("name").Value(); }), err::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("name").Value().toText(), "two");
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_EQ(count("select * from t"), 2);
}

TEST_F(RecordsetTest, WriterElsewhereGivesLockedError) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(db().handle(), 20);  // the real timeout would slow the test
    EXPECT_EQ(ErrorNumber([&] { db().BeginTrans(); }), err::Locked);
    EXPECT_EQ(ErrorNumber([&] { db().ExecuteClassic("delete from t"); }), err::Locked);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(count("select * from t"), 3);
}

// Another program renames a file over the open one: a write says so, not "read-only".
TEST_F(RecordsetTest, AFileReplacedWhileOpenIsSaidToBeMoved) {
    const std::string other = dir.file("other.db");
    {
        auto copy = Database::CreateDatabase(other);
        copy->ExecuteNative("create table t (id integer)");
    }
    std::filesystem::rename(other, path());
    try {
        db().ExecuteClassic("delete from t");
        ADD_FAILURE() << "the write went through";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Description(),
                  "The database '" + path() +
                      "' was moved, replaced or deleted while it was open; open it again with "
                      "\"Change Data File Location\".");
    }
}

int countProgress(void* n) {
    ++*static_cast<long long*>(n);
    return 0;
}

// A streamed value has the text a recordset gives it, for every kind of column and value.
TEST_F(RecordsetTest, StreamedTextMatchesTheRecordsetsText) {
    db().ExecuteNative(R"sql(
CREATE TABLE kinds (id INTEGER, flag BOOLEAN, day DATETIME, amount REAL, note TEXT, raw);
INSERT INTO kinds VALUES
 (1, 1, '2001-02-03 04:05:06', 1.5, 'x', NULL), (2, 0, 'not a date', 1e20, '', 3),
 (3, NULL, 20010203, -0.000012345, 'a,b', 2.75), (4, 7, '2001-02-03', 123456789012345678, '"q"',
 x'4142'), (5, 1, 12.5, 0.1, '12', 'text');
)sql");
    for (const std::string source : {"kinds", "select * from t", "t"}) {
        auto rs = db().OpenRecordset(source);
        RowStream rows(db());
        rows.OpenSource(source);
        for (; rows.Next(); rs->MoveNext()) {
            ASSERT_FALSE(rs->Eof()) << source;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                std::string text;
                rows.AppendText(rows.FieldIndex(rs->FieldName(i)), text);
                EXPECT_EQ(text, rs->Value(i).toText()) << source << " " << rs->FieldName(i);
            }
        }
        EXPECT_TRUE(rs->Eof()) << source;
    }
}

TEST(RecordsetLazy, OpeningForAddNewDoesNotReadABigTable) {
    TempDir dir;
    auto temp = dir.NewDatabase(
        "create table s (idloc text, sample_code integer, comment text,"
        " primary key (idloc, sample_code));"
        "with recursive c(x) as (select 1 union all select x + 1 from c where x < 200000)"
        " insert into s select case when x % 2 then 'V' else 'X' end, x, 'row ' || x from c;");
    auto& db = *temp;
    long long ticks = 0;  // one per 1000 virtual machine steps
    sqlite3_progress_handler(db.handle(), 1000, countProgress, &ticks);
    auto rs = db.OpenRecordset("select * from s where idloc = 'V'");
    rs->AddNew();
    rs->Fields("idloc") = "V";
    rs->Fields("sample_code") = 300001;
    rs->Update();
    EXPECT_EQ(rs->impl().rowsFetched(), 1);
    EXPECT_LT(ticks, 10);
    rs->MoveLast();
    EXPECT_GE(rs->impl().rowsFetched(), 100000);
    EXPECT_GT(ticks, 100);  // reading it all does cost: the measure is sound
    sqlite3_progress_handler(db.handle(), 0, nullptr, nullptr);
}

// A window keeps its closed recordsets until the next query: their rows must not stay.
TEST(RecordsetLifetime, ClosingGivesTheRowsMemoryBack) {
    TempDir dir;
    auto db = dir.NewDatabase(
        "create table s (code integer, note text);"
        "with recursive c(x) as (select 1 union all select x + 1 from c where x < 50000)"
        " insert into s select x, printf('%040d', x) from c;");
    auto heap = [] {
        const auto m = mallinfo2();
        return static_cast<double>(m.uordblks + m.hblkhd);
    };
    auto rs = db->OpenRecordset("select * from s");
    const double before = heap();
    rs->MoveLast();
    const double read = heap() - before;
    EXPECT_GT(read, 2e6);  // 50,000 rows of over 40 characters: the measure is sound
    rs->Close();
    EXPECT_LT(heap() - before, read / 10);
}

TEST(RecordsetLifetime, StatementsAreReusedAndOutliveNoConnection) {
    TempDir dir;
    auto temp = dir.NewDatabase("create table t (a integer); insert into t values (1), (2);");
    auto& cache = temp->statements();
    const std::string sql = "select * from t where a = 1";
    temp->OpenRecordset(sql)->Close();
    const long long prepared = cache.prepareCount();
    for (int i = 0; i < 3; ++i) {
        auto rs = temp->OpenRecordset(sql);
        EXPECT_EQ(rs->Fields("a").Value(), Variant(1));
    }
    // Only the code differs: the same prepared statement serves.
    auto other = temp->OpenRecordset("select * from t where a = 2");
    EXPECT_EQ(other->Fields("a").Value(), Variant(2));
    other.reset();
    EXPECT_TRUE(temp->OpenRecordset("select * from t where a = 3")->Eof());
    EXPECT_EQ(cache.prepareCount(), prepared);

    // Two open at once need two statements, each with its own cursor.
    auto first = temp->OpenRecordset("select a from t order by a");
    auto second = temp->OpenRecordset("select a from t order by a");
    first->MoveNext();
    EXPECT_EQ(first->Fields("a").Value(), Variant(2));
    EXPECT_EQ(second->Fields("a").Value(), Variant(1));

    // The recordset keeps the database alive after the last other owner lets go.
    auto rs = temp->OpenRecordset("select a from t order by a");
    first.reset();
    second.reset();
    temp.reset();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("a").Value(), Variant(2));
}

TEST(RecordsetLifetime, TextsSharingAShapeEachGetTheirOwnRows) {
    TempDir dir;
    auto temp = dir.NewDatabase(
        "create table r (code integer, name text, d datetime);"
        "insert into r values (1, 'O''Brien', '2004-03-04 00:00:00'), (2, 'plain', null),"
        " (2, 'other', '2004-03-05 00:00:00');");
    auto& db = *temp;
    auto names = [&](const std::string& source) {
        std::string out;
        for (auto rs = db.OpenRecordset(source); !rs->Eof(); rs->MoveNext())
            out += rs->Fields("name").Value().toText() + ";";
        return out;
    };
    EXPECT_EQ(names("select * from r where code = 1"), "O'Brien;");
    const long long prepared = db.statements().prepareCount();
    EXPECT_EQ(names("select * from r where code = 2 order by name"), "other;plain;");
    EXPECT_EQ(names("select * from r where code = 2 order by name"), "other;plain;");
    EXPECT_EQ(names("select * from r where name = 'O''Brien' and code = 1"), "O'Brien;");
    EXPECT_EQ(names("select * from r where name = 'plain' and code = 2"), "plain;");
    EXPECT_EQ(names("select * from r where name = 'plain' and code = 1"), "");
    // A date literal keys its own template, yet all bind into one statement.
    EXPECT_EQ(names("select * from r where d = #3/5/2004# and code = 2"), "other;");
    EXPECT_EQ(names("select * from r where d = #3/4/2004# and code = 1"), "O'Brien;");
    EXPECT_EQ(names("select * from r where d = #3/4/2004# and code = 2"), "");
    EXPECT_EQ(db.statements().prepareCount(), prepared + 3);
    // Read-only shapes too.
    EXPECT_EQ(names("select name from r where code = 1 union select name from r where code = 2"),
              "O'Brien;other;plain;");
    EXPECT_EQ(names("select name from r where code = 2 union select name from r where code = 2"),
              "other;plain;");
}

TEST(RecordsetLifetime, ColumnsFollowASchemaChange) {
    TempDir dir;
    auto temp = dir.NewDatabase(
        "create table t (a integer, d datetime); insert into t values (1, '2004-03-04');");
    auto& db = *temp;
    const std::string sql = "select * from t where a = 1";
    EXPECT_TRUE(db.OpenRecordset(sql)->Fields("d").Value().isDate());
    db.ExecuteNative("alter table t add column extra text default 'new'");
    auto rs = db.OpenRecordset(sql);
    ASSERT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->Fields("extra").Value(), Variant("new"));
    rs.reset();
    // Same column count, other declared type: values follow the new type.
    db.ExecuteNative(
        "create table t2 (a integer, d text, extra text); insert into t2 select * from t;"
        "drop table t; alter table t2 rename to t;");
    rs = db.OpenRecordset(sql);
    ASSERT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->Fields("d").Value(), Variant("2004-03-04"));
}

TEST(RecordsetLazy, RowsReadStayForMovePreviousAndKeepTheirEdits) {
    TempDir dir;
    auto temp = dir.NewDatabase(
        "create table s (k integer, note text, d datetime, r real, b boolean);"
        "with recursive c(x) as (select 1 union all select x + 1 from c where x < 3000)"
        " insert into s select x, 'a note long enough to leave the small-string buffer ' || x,"
        " '2004-03-04 10:30:00', x / 4.0, x % 2 from c;");
    auto& db = *temp;
    auto rs = db.OpenRecordset("select * from s order by k");
    for (int i = 1; i < 2000; ++i) rs->MoveNext();
    EXPECT_EQ(rs->Fields("k").Value(), Variant(2000));
    rs->Edit();
    rs->Fields("note") = "edited";
    rs->Fields("d") = "1/2/2003";
    rs->Fields("b") = true;
    rs->Update();
    rs->MoveLast();
    EXPECT_EQ(rs->Fields("k").Value(), Variant(3000));
    for (int i = 3000; i > 2000; --i) rs->MovePrevious();
    EXPECT_EQ(rs->Fields("note").Value(), Variant("edited"));
    EXPECT_EQ(rs->Fields("d").Value(), Variant(DateTime{2003, 1, 2, 0, 0, 0}));
    EXPECT_EQ(rs->Fields("b").Value(), Variant::fromBool(true));
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("note").Value().toText(),
              "a note long enough to leave the small-string buffer 1999");
    EXPECT_EQ(rs->Fields("d").Value().toText(), "3/4/2004 10:30:00 AM");
    EXPECT_EQ(rs->Fields("r").Value(), Variant(1999 / 4.0));
    EXPECT_EQ(rs->Fields("b").Value(), Variant::fromBool(true));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("note").Value().toText(),
              "a note long enough to leave the small-string buffer 1");
    EXPECT_EQ(rs->Fields("b").Value(), Variant::fromBool(true));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("b").Value(), Variant::fromBool(false));
}

}  // namespace
