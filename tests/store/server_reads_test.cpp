// Reads longer than one batch of a server's cursor, and how they end: at the last row, on
// an error part-way, on a lost connection.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Database.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "ExportRows.h"
#include "PgCursor.h"
#include "RowStream.h"

namespace {

using testing_support::ErrorNumber;
using testing_support::QueryValue;

constexpr int kRows = 2 * platform::PgCursor::kBatchRows + 500;

// Reads `sql` to its end, checking that row n holds n; returns the rows read.
using Reader = std::function<int(platform::Database&, const std::string& sql)>;

int ReadRows(platform::RowStream& stream) {
    int n = 0;
    std::string text;
    while (stream.Next()) {
        text.clear();
        stream.AppendText(0, text);
        EXPECT_EQ(text, std::to_string(++n));
    }
    return n;
}

int LongRows(platform::Database& db, const std::string& sql) {
    platform::RowStream stream(db);
    stream.OpenLong(sql);
    return ReadRows(stream);
}

int ShortRows(platform::Database& db, const std::string& sql) {
    platform::RowStream stream(db, sql);
    return ReadRows(stream);
}

const std::vector<std::pair<const char*, Reader>> kReaders = {{"long read", LongRows},
                                                              {"short read", ShortRows}};

class ServerReads : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("r.db"));
        std::string values;
        for (int code = kRows; code >= 1; --code)
            values += (values.empty() ? "('V', " : ", ('V', ") + std::to_string(code) + ")";
        db->ExecuteNative("insert into tblsample (idloc, sample_code) values " + values);
    }
    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    const std::string codes = "select sample_code from tblsample order by sample_code";
};

TEST_F(ServerReads, EveryRowComesOnceInOrderAndTheReadEndsWithIt) {
    for (const auto& [name, read] : kReaders) {
        EXPECT_EQ(read(*db, codes), kRows) << name;
        EXPECT_FALSE(db->InTransaction()) << name;
        // Inside the caller's transaction, which goes on and writes.
        db->BeginTrans();
        EXPECT_EQ(read(*db, codes), kRows) << name;
        EXPECT_EQ(
            db->Execute("update tblsample set comment = ? where sample_code = ?", {"read", 1}), 1);
        db->CommitTrans();
        EXPECT_EQ(QueryValue(*db, "select comment from tblsample where sample_code = 1"), "read");
    }
}

// A short read's rows outlive the read: the connection writes and ends transactions meanwhile.
TEST_F(ServerReads, AShortReadOpenAcrossWritesAndCommitsKeepsEveryRow) {
    platform::RowStream outer(*db, codes);
    ASSERT_TRUE(outer.Next());
    EXPECT_EQ(db->Execute("update tblsample set comment = ? where sample_code = ?", {"a", 1}), 1);
    db->BeginTrans();
    platform::RowStream inner(*db, codes);
    ASSERT_TRUE(inner.Next());
    db->CommitTrans();
    for (auto* rows : {&outer, &inner}) {
        int n = 1;
        while (rows->Next()) ++n;
        EXPECT_EQ(n, kRows);
    }
}

// The export's four reads share one snapshot, which lasts until they end.
TEST_F(ServerReads, AnExportReadsEverySampleOfItsSnapshot) {
    if (!testing_support::OnServer()) GTEST_SKIP() << "a file's read starts at its first row";
    store::ExportRows rows(*db);
    auto& samples = rows.Samples(store::ExportRange{true});
    // Through a cursor, a batch at a time, not all the samples at once.
    EXPECT_EQ(QueryValue(*db, "select count(*) from pg_cursors where name <> ''"), "1");
    db->OpenDatabase(db->Name())->Execute("delete from tblsample where sample_code > ?", {10});
    int n = 0;
    while (samples.Next()) ++n;
    EXPECT_EQ(n, kRows);
}

TEST_F(ServerReads, AnErrorPartWayIsReportedAndTheNextReadRuns) {
    if (!testing_support::OnServer()) GTEST_SKIP() << "a file divides by zero into Null";
    const std::string failing = "select sample_code / (sample_code - " +
                                std::to_string(kRows - 10) + ") from tblsample order by 1";
    for (const auto& [name, read] : kReaders) {
        const auto& reader = read;  // clang 14 captures no structured binding
        EXPECT_NE(ErrorNumber([&] { reader(*db, failing); }), 0) << name;
        EXPECT_FALSE(db->InTransaction()) << name;
        EXPECT_EQ(read(*db, codes), kRows) << name;
    }
}

TEST_F(ServerReads, ALostConnectionPartWayIsReportedAndTheNextReadReconnects) {
    if (!testing_support::OnServer()) GTEST_SKIP() << "a server's sessions only";
    platform::RowStream stream(*db);
    stream.OpenLong(codes);
    ASSERT_TRUE(stream.Next());
    const std::string session = QueryValue(*db, "select pg_backend_pid()");
    platform::Database::OpenDatabase(db->Name())
        ->ExecuteNative("select pg_terminate_backend(" + session + ", 5000)");
    EXPECT_EQ(ErrorNumber([&] {
                  while (stream.Next()) {
                  }
              }),
              platform::err::ConnectionLost);
    stream.Close();
    EXPECT_FALSE(db->InTransaction());
    for (const auto& [name, read] : kReaders) EXPECT_EQ(read(*db, codes), kRows) << name;
}

}  // namespace
