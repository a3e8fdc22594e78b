#include "SqliteErrors.h"

#include <sqlite3.h>

#include "BusyWait.h"
#include "EngineError.h"

namespace platform {

void ThrowSqlite(sqlite3* db, int rc, const std::string& file) {
    ThrowSqlite(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), file);
}

void ThrowSqlite(int rc, const std::string& message, const std::string& file) {
    auto after = [&](const char* prefix) -> std::string {
        return message.rfind(prefix, 0) == 0
                   ? message.substr(std::char_traits<char>::length(prefix))
                   : std::string();
    };
    switch (rc & 0xff) {
        case SQLITE_BUSY:
            throw EngineError(err::Locked, BusyCause());
        case SQLITE_LOCKED:
            throw EngineError(err::Locked, "The database '" + file +
                                               "' is locked by another user or program; try "
                                               "again later. (" +
                                               message + ")");
        case SQLITE_CONSTRAINT:
            if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
                throw EngineError(err::DuplicateKey,
                                  "The changes were not successful because they would create "
                                  "duplicate values in the primary key or index. (" +
                                      message + ")");
            if (rc == SQLITE_CONSTRAINT_NOTNULL)
                throw EngineError(err::ValueRequired, "A value is required. (" + message + ")");
            throw EngineError(err::GeneralEngine,
                              "A value breaks a rule of the table. (" + message + ")");
        case SQLITE_READONLY:
            // Another program renamed, replaced or deleted the file under the open handle.
            if (rc == SQLITE_READONLY_DBMOVED)
                throw EngineError(err::ReadOnlyDatabase,
                                  "The database '" + file +
                                      "' was moved, replaced or deleted while it was open; "
                                      "open it again with \"Change Data File Location\".");
            throw EngineError(err::ReadOnlyDatabase,
                              "The database '" + file + "' is read-only. (" + message + ")");
        case SQLITE_NOTADB:
            throw EngineError(err::NotADatabase, "The file '" + file + "' is not a database.");
        case SQLITE_CANTOPEN:
            throw EngineError(err::CannotOpenDatabase,
                              "Could not open the database '" + file + "'. (" + message + ")");
        case SQLITE_MISMATCH:
            throw EngineError(err::DataTypeConversion, "Data type conversion error.");
        case SQLITE_ERROR: {
            std::string name = after("no such table: ");
            if (!name.empty())
                throw EngineError(
                    err::TableNotFound,
                    "The engine cannot find the input table or query '" + name + "'.");
            name = after("no such column: ");
            if (!name.empty())
                throw EngineError(err::UnknownName,
                                  "Unknown field name '" + name + "' in the query.");
            throw EngineError(err::SyntaxError, "Syntax error in query: " + message + ".");
        }
        default:
            throw EngineError(err::GeneralEngine, "Database engine error: " + message + ".");
    }
}

}  // namespace platform
