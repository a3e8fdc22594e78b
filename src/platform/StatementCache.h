#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "FieldCoding.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// A result column: its name, where it comes from, and what its declared type holds.
struct ResultColumn {
    std::string name;
    std::string table;   // origin table; empty for an expression
    std::string origin;  // origin column; empty for an expression
    ColumnKind kind;
};

// The program sends the same few statements again and again with other values, and
// preparing costs more than reading the rows: idle prepared statements are kept by their
// text in a small least-recently-used list.
class StatementCache {
  public:
    StatementCache(sqlite3* db, std::string file, size_t capacity = 64);
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement for sql, or a newly prepared one. Throws EngineError.
    sqlite3_stmt* acquire(const std::string& sql);
    // As acquire, but returns the SQLite result code instead of throwing.
    int tryAcquire(const std::string& sql, sqlite3_stmt** out);
    // Resets the statement and keeps it for the next acquire of the same text.
    void release(const std::string& sql, sqlite3_stmt* stmt);

    // The result columns of stmt, read once per prepared statement (again after SQLite
    // re-prepares it for a schema change).
    std::shared_ptr<const std::vector<ResultColumn>> columns(sqlite3_stmt* stmt);

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
        std::shared_ptr<const std::vector<ResultColumn>> list;
    };
    void finalize(sqlite3_stmt* stmt);

    std::unordered_map<sqlite3_stmt*, Columns> columns_;
};

}  // namespace platform
