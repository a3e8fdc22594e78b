#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ChangeCapture.h"
#include "FieldCoding.h"

namespace platform {

class PgConnection;
class PgResult;

// One row change as it was collected, values in the table's column order.
struct RawChange {
    RowChange::Kind kind;
    std::string table;
    std::vector<StoredValue> before, after;
};

// A server has no pre-update hook: row triggers on every table but `ignored` append the
// old and new rows to a temporary table while this connection's transaction captures.
// Install gives the tables that lack it the trigger (it needs their owner's rights, so a new
// database gets it when made); Start does too, then captures.
void InstallServerCapture(PgConnection& pg, const std::string& ignored);
void StartServerCapture(PgConnection& pg, const std::string& ignored);
void StopServerCapture(PgConnection& pg);
// The changes collected since the last call, in order, and dropped from the server.
std::vector<RawChange> TakeServerChanges(PgConnection& pg, const std::string& ignored);

// A table's columns and their kinds, as the server reports them.
struct ServerColumns {
    std::vector<std::string> names;
    std::vector<ColumnKind> kinds;
};
ServerColumns ServerColumnsOf(PgConnection& pg, const std::string& table);

// A server's value in the storage class the file would give it: whole numbers and
// booleans integer, other numbers real, dates and the rest text.
StoredValue ServerStoredValue(const PgResult& result, int row, int column, ColumnKind kind);
// A value as a server parameter's text; nullopt for Null.
std::optional<std::string> ServerParam(const StoredValue& v);

}  // namespace platform
