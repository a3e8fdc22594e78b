#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "PgConnection.h"
#include "PgCursor.h"
#include "StatementCache.h"
#include "Variant.h"

struct sqlite3_stmt;

namespace platform {

class Database;

// A forward-only read of a recordset source. It runs the statement a recordset of the
// same source would run (same translation, same cached statement, same row order) but
// keeps no row once the next is read, so an export of any size runs in the same memory;
// a recordset keeps every row it visited.
class RowStream {
  public:
    explicit RowStream(Database& db) : db_(db) {}
    ~RowStream() { Close(); }
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    // Starts reading `source`, dropping any read still open. Throws EngineError.
    void Open(const std::string& source);
    // Starts reading a query in SQLite's own dialect, its `?` parameters bound to `values`
    // in order: one statement prepared once and run again and again with other values.
    void OpenNative(const std::string& sql, const std::vector<Variant>& values);
    // Moves to the next row (the first after Open); false at the end, which also gives
    // the statement back to the cache. Throws EngineError.
    bool Next();
    // Gives the statement back; safe to call at any time.
    void Close();

    // The index of a column by name, any letter case. Throws EngineError 3265.
    int FieldIndex(std::string_view name) const;
    // Indexes of several columns, looked up again only when the statement's columns change.
    const std::vector<int>& FieldIndexes(const std::vector<std::string_view>& names);
    // Appends the current row's value of column `index` as Variant::toText writes it.
    void AppendText(int index, std::string& out) const;

  private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string key_;
    std::shared_ptr<const std::vector<ResultColumn>> columns_;
    int hidden_ = 0;
    bool first_ = false;                          // the next Next() takes the first row
    std::shared_ptr<const void> indexedColumns_;  // kept alive so its address stays unique
    std::vector<int> indexes_;
    // On a server: the batch of rows at hand and the current one; Open reads through a
    // cursor, OpenNative's point reads arrive whole.
    std::unique_ptr<PgCursor> cursor_;
    std::optional<PgResult> serverRows_;
    int serverRow_ = -1;
    void appendServerText(int index, std::string& out) const;
};

}  // namespace platform
