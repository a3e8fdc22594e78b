#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "StoredRows.h"

namespace platform {

class Database;

// One row an insert, update or delete changed: as it was (nothing for an insert) and as it
// became (nothing for a delete).
struct RowChange {
    enum class Kind { Insert, Update, Delete };
    Kind kind = Kind::Insert;
    std::string table;
    StoredRow before, after;
};

// Collects every row change made on the database's connection while it lives, with the
// rows' values before and after, taken by the database itself as each statement writes
// (SQLite's pre-update hook; a server's row triggers): nothing written in between is
// missed. One capture at a time per database.
class ChangeCapture {
  public:
    // Changes to `ignored` (the table the changes are written to) are not collected.
    ChangeCapture(Database& db, std::string ignored);
    ~ChangeCapture();
    ChangeCapture(const ChangeCapture&) = delete;
    ChangeCapture& operator=(const ChangeCapture&) = delete;

    // The changes so far, in the order they were made, their columns named.
    std::vector<RowChange> Take();

    // A table's columns, and which of them have REAL affinity.
    struct Columns {
        std::vector<std::string> names;
        std::vector<bool> real;
    };
    // A change as captured: values in the table's column order, without copies.
    struct Captured {
        RowChange::Kind kind;
        const std::string& table;
        const Columns& columns;
        const std::vector<StoredValue>& before;
        const std::vector<StoredValue>& after;
    };
    // Hands each change so far to `visit`, in order, then drops them: for a long write that
    // journals many rows, where Take's named copies would cost more than the write.
    void Drain(const std::function<void(const Captured&)>& visit);

    struct Pending;

  private:
    Database& db_;
    std::unique_ptr<Pending> pending_;
};

}  // namespace platform
