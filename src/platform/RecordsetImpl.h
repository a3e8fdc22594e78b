#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FieldCoding.h"
#include "PgConnection.h"
#include "PgCursor.h"
#include "Recordset.h"
#include "StatementCache.h"

struct sqlite3_stmt;
struct sqlite3_value;

namespace platform {

// The cursor behind a Recordset. Holds the Database alive, so its statement never
// outlives the connection.
class Recordset::Impl {
  public:
    // sql is the text stmt was prepared from; a non-empty table means the last
    // result column is the hidden rowid and the set is updatable.
    Impl(std::shared_ptr<Database> db, sqlite3_stmt* stmt, std::string sql, std::string table);
    // A server's rows through a cursor; a non-empty table means the last column is the row's
    // address (ctid) and the set is updatable.
    Impl(std::shared_ptr<Database> db, std::unique_ptr<PgCursor> rows,
         std::shared_ptr<const std::vector<ResultColumn>> columns, std::string table);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void open();  // reads the column metadata and steps to the first row

    int fieldCount() const { return static_cast<int>(columns_->size()); }
    const std::string& fieldName(int index) const;
    int fieldIndex(std::string_view name) const;
    // Reading the current row is the hot path of a grid fill: checked here, inline.
    Variant value(int index) const {
        if (open_ && mode_ == Mode::None && index >= 0 && index < fieldCount() && !eof_ && !bof_ &&
            pos_ >= 0 && pos_ < static_cast<long long>(rows_.size()) && !rows_[pos_].deleted)
            return valueOf(cell(static_cast<size_t>(pos_), index));
        return checkedValue(index);
    }
    void setValue(int index, const Variant& v);

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void remove();

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    bool eof() const;
    bool bof() const;
    bool updatable() const { return !table_.empty(); }
    void close();
    bool isOpen() const { return open_; }

    // Reads the rest of the rows and lets the statement go; errors end the read quietly.
    void finishReading();

    // Rows read from SQLite so far: opening reads one, not the whole table.
    long long rowsFetched() const { return fetched_; }

  private:
    using Column = ResultColumn;
    // One field of a row read. A big set is read into a few flat arrays rather than a
    // Variant per field: texts go to one arena, a date stays text until it is asked for.
    struct Cell {
        enum class Tag : std::uint8_t { Null, Integer, Real, Text, DateText, Boolean, Boxed };
        Tag tag = Tag::Null;
        std::uint32_t size = 0;  // of a text
        union {
            long long integer = 0;
            double real;
            std::size_t offset;  // into text_, or boxed_ for Boxed
        };
    };
    struct Row {
        long long rowid = 0;
        long long seen = 0;  // the connection's change count when the row was read
        bool deleted = false;
        long long deletedIn = 0;  // the transaction that deleted it, 0 for none
    };
    enum class Mode { None, AddNew, Edit };

    // Deleted for good: a delete inside a transaction rolled back since never happened.
    bool gone(const Row& row) const;
    bool fetch();  // one more row into rows_; false at the end
    void storeRow();
    void fillCell(Cell& c, sqlite3_value* value, ColumnKind kind);  // texts go to text_
    long long changes() const;
    bool present(size_t p);  // row p, read again when it may have changed; false when gone
    const std::vector<int>& keyFields();
    std::string rowCondition();  // " WHERE rowid = ?" and the key fields
    void bindRow(sqlite3_stmt* stmt, int first, size_t p);
    // Runs one write statement through the cache; bind fills its parameters.
    void runWrite(const std::string& sql, const std::function<void(sqlite3_stmt*)>& bind);
    void finish(int rc);  // the statement returned rc other than a row
    // The same on a server's rows (RecordsetServer.cpp).
    bool fetchServer();
    void fillServerCell(Cell& c, std::string_view text, ColumnKind kind);
    bool rereadServer(size_t p);
    std::string serverName(std::string_view name) const;
    std::string serverCondition(int firstParam);
    void serverRowParams(size_t p, PgParams& params);
    long long writeServer(const std::vector<std::string>& names,
                          const std::vector<Variant>& values);
    long long removeServer();
    long long writeFile(const std::vector<std::string>& names, const std::vector<Variant>& values);
    Cell& cell(size_t row, int index) { return cells_[row * columns_->size() + index]; }
    const Cell& cell(size_t row, int index) const { return cells_[row * columns_->size() + index]; }
    Cell cellOf(const Variant& v);
    Variant valueOf(const Cell& c) const;
    Variant checkedValue(int index) const;  // value() with its errors and pending values
    void releaseStatement();
    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    bool hasCurrent() const;
    void checkIndex(int index) const;
    void writePending();

    std::shared_ptr<Database> db_;
    sqlite3_stmt* stmt_;
    std::string sql_;
    std::string table_;
    int hidden_ = 0;  // 1 when the last column is the rowid
    std::shared_ptr<const std::vector<Column>> columns_;
    std::vector<Row> rows_;
    std::vector<Cell> cells_;     // rows_.size() * columns_->size(), row after row
    std::vector<char> text_;      // the characters of every Text and DateText cell
    std::vector<Variant> boxed_;  // values written by Edit that have no flat form
    bool done_ = false;           // the statement has no more rows
    long long pos_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool open_ = true;
    Mode mode_ = Mode::None;
    std::vector<std::optional<Variant>> pending_;
    std::optional<std::vector<int>> keyFields_;
    long long fetched_ = 0;
    std::unique_ptr<PgCursor> cursor_;
    std::optional<PgResult> serverRows_;  // the batch being copied in
    int serverNext_ = 0;
};

}  // namespace platform
