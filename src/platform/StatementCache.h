#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "FieldCoding.h"
#include "SqlDialect.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// A result column as a recordset sees it.
struct ResultColumn {
    std::string name;
    std::string table;   // origin table; empty for an expression
    std::string origin;  // origin column; empty for an expression
    ColumnKind kind;
};

// The program sends the same few query shapes again and again, and preparing costs more
// than reading the rows: translations are kept by source text, and idle prepared
// statements by SQL text in a small least-recently-used list.
class StatementCache {
  public:
    StatementCache(sqlite3* db, std::string file, size_t capacity = 64);
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The plan of a recordset source, translated once per distinct text.
    sql::QueryPlan plan(const std::string& source);
    // The SQLite text of a classic statement, translated once per distinct text.
    std::string translate(const std::string& source);

    // An idle statement for sql, or a newly prepared one. Throws EngineError.
    sqlite3_stmt* acquire(const std::string& sql);
    // As acquire, but returns the SQLite result code instead of throwing.
    int tryAcquire(const std::string& sql, sqlite3_stmt** out);
    // As acquire and tryAcquire, but for the shape of sql (Parameterize) with its
    // literals bound; key receives the text to release the statement under.
    sqlite3_stmt* acquireShaped(const std::string& sql, std::string& key);
    int tryAcquireShaped(const std::string& sql, std::string& key, sqlite3_stmt** out);
    // The statement of a recordset source: its updatable form when that prepares, else
    // the read-only one, with its literals bound. key receives the text to release it
    // under; table the table it updates, empty when read-only. Throws EngineError.
    sqlite3_stmt* acquireSource(const std::string& source, std::string& key, std::string& table);
    // Resets the statement and keeps it for the next acquire of the same text.
    void release(const std::string& sql, sqlite3_stmt* stmt);

    // The result columns of stmt without the last `hidden` ones, read once per prepared
    // statement (again after SQLite re-prepares it for a schema change).
    std::shared_ptr<const std::vector<ResultColumn>> columns(sqlite3_stmt* stmt, int hidden);

    // For tests and benchmarks: how often a statement had to be prepared.
    long long prepareCount() const { return prepared_; }

  private:
    sqlite3* db_;
    std::string file_;
    size_t capacity_;
    long long prepared_ = 0;
    std::string lastError_;
    std::list<std::pair<std::string, sqlite3_stmt*>> idle_;  // most recent first
    struct Columns {
        int reprepared;
        int hidden;
        std::shared_ptr<const std::vector<ResultColumn>> list;
    };
    void finalize(sqlite3_stmt* stmt);

    std::unordered_map<sqlite3_stmt*, Columns> columns_;
    std::unordered_map<std::string, sql::QueryPlan> plans_;
    std::unordered_map<std::string, sql::PlanTemplate> templates_;  // by sql::SourceKey
    std::unordered_map<std::string, std::string> translations_;
};

}  // namespace platform
