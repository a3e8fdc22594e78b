#include "TableKeys.h"

#include <sqlite3.h>

#include <map>

#include "Database.h"
#include "PgConnection.h"
#include "SqliteErrors.h"

namespace platform {

std::vector<std::string> KeyColumns(const Database& db, const std::string& table) {
    if (db.server()) return db.server()->keyColumns(table);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), "select name, pk from pragma_table_info(?1) where pk > 0",
                           -1, &stmt, nullptr) != SQLITE_OK)
        ThrowSqlite(db.handle(), SQLITE_ERROR, db.Name());
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    std::map<int, std::string> byPosition;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        byPosition[sqlite3_column_int(stmt, 1)] =
            reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    std::vector<std::string> names;
    for (auto& [position, name] : byPosition) names.push_back(std::move(name));
    return names;
}

}  // namespace platform
