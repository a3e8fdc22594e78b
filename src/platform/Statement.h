#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PgConnection.h"
#include "StoredRows.h"
#include "Variant.h"

struct sqlite3_stmt;

namespace platform {

class Database;

// A statement with `?` parameters, prepared once and run many times: a save's writes, and
// the bulk writes of an import, where preparing per row would cost more than the write. The
// prepared statement comes from the database's cache and goes back to it. On a server the
// text is sent as ServerStatement (SqlHooks.h) writes it.
class Statement {
  public:
    Statement(Database& db, std::string sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds `values` to the parameters in order and steps once. True when a row came back,
    // to be read with Value until the next Run. Throws EngineError.
    bool Run(std::initializer_list<Variant> values);
    // Binds one parameter (from 1) for the next Step, leaving the others bound: the rows of a
    // multi-row insert are bound where they stand, with no list of values per row. Text is
    // not copied: it must stay as it is until the Step.
    void Bind(int index, long long value);
    void Bind(int index, double value);
    void Bind(int index, std::string_view text);
    void BindNull(int index);
    // A value exactly as stored: its class and its bytes (a blob stays a blob). Copied.
    void Bind(int index, const StoredValue& value);
    // Steps once with the values bound so far; as Run.
    bool Step();
    // Steps to the next row of the last Run; false past the last.
    bool Next();
    // Column `i` of the row the last Run returned, as stored (a real stays a real).
    Variant Value(int i) const;
    // The row the last step reached, every column as stored, by name.
    StoredRow Row() const;
    // Rows the last Run inserted, changed or deleted.
    long long Changes() const;
    // Lets go of the rows of the last step (and of the table they hold), keeping the values
    // bound.
    void Reset() { unstep(); }

  private:
    // Readies the statement for binding after a step.
    void unstep();

    Database& db_;
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
    // On a server: the rows of the last Run and the one read.
    std::optional<PgResult> rows_;
    PgParams params_;  // on a server: the parameters of the next step
    std::shared_ptr<const std::vector<ResultColumn>> columns_;
    int row_ = -1;
    long long changes_ = 0;
    bool stepped_ = false;  // since the last reset
};

}  // namespace platform
