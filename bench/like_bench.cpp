// The comment search's LIKE on very long comments, against SQLite's own instr() scanning
// the same text for a letter it lacks, in the same run: both should grow linearly.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "LikeFunction.h"

namespace {

// One row holding `comment`, in a database with the engine's LIKE installed.
struct CommentTable {
    explicit CommentTable(const std::string& comment) {
        sqlite3_open(":memory:", &db);
        platform::InstallLikeFunction(db);
        sqlite3_exec(db, "create table t (comment text)", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "insert into t values (?)", -1, &insert, nullptr);
        sqlite3_bind_text(insert, 1, comment.data(), static_cast<int>(comment.size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_finalize(insert);
    }
    ~CommentTable() { sqlite3_close(db); }
    // The number of rows the query with `argument` bound finds.
    long long count(const char* sql, const std::string& argument) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, argument.data(), static_cast<int>(argument.size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        const long long n = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return n;
    }
    sqlite3* db = nullptr;
};

// The worst shape for a backtracking matcher: a comment of one repeated letter searched for
// half its length of that letter followed by one that never comes.
std::string comment(benchmark::State& state) { return std::string(state.range(0), 'a'); }
std::string needle(benchmark::State& state) { return std::string(state.range(0) / 2, 'a') + "b"; }

void BM_Sqlite_InstrLongComment(benchmark::State& state) {
    CommentTable table(comment(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            table.count("select count(*) from t where instr(comment, ?1)", "b"));
}

void BM_Like_LongComment(benchmark::State& state) {
    CommentTable table(comment(state));
    const std::string pattern = "%" + needle(state) + "%";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            table.count("select count(*) from t where comment like ?1", pattern));
}

// The same with a '_' in the middle of the sought text, which takes the bit-parallel scan.
void BM_Like_LongCommentWithAnyOne(benchmark::State& state) {
    CommentTable table(comment(state));
    std::string pattern = "%" + needle(state) + "%";
    pattern[pattern.size() / 2] = '_';
    for (auto _ : state)
        benchmark::DoNotOptimize(
            table.count("select count(*) from t where comment like ?1", pattern));
}

// A fixed pattern with a '_' every other letter, which takes the bit sets.
void BM_Like_LongCommentManyAnyOne(benchmark::State& state) {
    CommentTable table(comment(state));
    std::string pattern = "%";
    for (int i = 0; i < 500; ++i) pattern += "a_";
    pattern += "b%";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            table.count("select count(*) from t where comment like ?1", pattern));
}

// 80,000 characters up to a 1 MB comment.
#define COMMENT_SIZES ->RangeMultiplier(2)->Range(80000, 1 << 20)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Sqlite_InstrLongComment) COMMENT_SIZES;
BENCHMARK(BM_Like_LongComment) COMMENT_SIZES;
BENCHMARK(BM_Like_LongCommentWithAnyOne) COMMENT_SIZES;
BENCHMARK(BM_Like_LongCommentManyAnyOne) COMMENT_SIZES;

}  // namespace
