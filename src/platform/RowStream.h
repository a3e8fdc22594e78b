#pragma once

#include <memory>
#include <optional>
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

// A forward-only read: one statement with `?` parameters bound to typed values, its rows
// read one at a time and kept no longer than that, so a read of any size runs in the same
// memory. The prepared statement comes from the database's cache, keyed by its text, so the
// same query with other values is prepared once.
//
//   RowStream rows(db, "select comment from tblsample where idloc = ? and sample_code = ?",
//                  {kHandEntered, code});
//   while (rows.Next()) use(rows.Value("comment"));
class RowStream {
  public:
    explicit RowStream(Database& db) : db_(db) {}
    RowStream(Database& db, const std::string& sql, const std::vector<Variant>& values = {})
        : db_(db) {
        Open(sql, values);
    }
    ~RowStream() { Close(); }
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    // Starts reading `sql`, its parameters bound to `values` in order, dropping any read still
    // open. On a server the rows arrive in one round trip: for reads of a few rows.
    // Throws EngineError.
    void Open(const std::string& sql, const std::vector<Variant>& values = {});
    // As Open, for a read of any length (a grid, an export): on a server the rows come through
    // a cursor a batch at a time.
    void OpenLong(const std::string& sql, const std::vector<Variant>& values = {});
    // Moves to the next row (the first after Open); false at the end, which also gives
    // the statement back to the cache. Throws EngineError.
    bool Next();
    // Gives the statement back; safe to call at any time.
    void Close();

    // The columns, known once Next has returned a row or the end.
    int ColumnCount() const;
    const std::string& ColumnName(int index) const;
    // What a column holds, by its declared type: what a value written to it converts to.
    ColumnKind Kind(int index) const;
    // The index of a column by name, any letter case; nullopt or EngineError when none.
    std::optional<int> FindField(std::string_view name) const;
    int FieldIndex(std::string_view name) const;
    // Indexes of several columns, looked up again only when the statement's columns change.
    const std::vector<int>& FieldIndexes(const std::vector<std::string_view>& names);

    // The current row's value: a whole number, real or text as stored, Null, a date for a
    // date column holding one, a boolean for a yes/no column.
    Variant Value(int index) const;
    Variant Value(std::string_view name) const { return Value(FieldIndex(name)); }
    // Appends the value of column `index` as Variant::toText writes it, without making one.
    void AppendText(int index, std::string& out) const;

  private:
    void open(const std::string& sql, const std::vector<Variant>& values, bool batched);
    void appendServerText(int index, std::string& out) const;

    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string key_;
    std::shared_ptr<const std::vector<ResultColumn>> columns_;
    bool first_ = false;                          // the next Next() takes the first row
    std::shared_ptr<const void> indexedColumns_;  // kept alive so its address stays unique
    std::vector<int> indexes_;
    // On a server: the batch of rows at hand and the current one.
    std::unique_ptr<PgCursor> cursor_;
    std::optional<PgResult> serverRows_;
    int serverRow_ = -1;
};

}  // namespace platform
