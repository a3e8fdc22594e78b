#include "Statement.h"

#include <sqlite3.h>

#include "BusyWait.h"
#include "Database.h"
#include "FieldCoding.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {

Statement::Statement(Database& db, std::string sql)
    : db_(db), sql_(std::move(sql)), stmt_(db.statements().acquire(sql_)) {}

Statement::~Statement() { db_.statements().release(sql_, stmt_); }

bool Statement::Run(std::initializer_list<Variant> values) {
    sqlite3_reset(stmt_);
    int i = 0;
    for (const Variant& v : values) BindValue(stmt_, ++i, v);
    return Next();
}

bool Statement::Next() {
    const int rc = StepStatement(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string message = sqlite3_errmsg(db_.handle());
    sqlite3_reset(stmt_);
    ThrowSqlite(rc, message, db_.Name());
}

Variant Statement::Value(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
        case SQLITE_INTEGER:
            return Variant(static_cast<long long>(sqlite3_column_int64(stmt_, i)));
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt_, i));
        case SQLITE_NULL:
            return Variant();
        default:
            return Variant(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                                       sqlite3_column_bytes(stmt_, i)));
    }
}

long long Statement::Changes() const { return sqlite3_changes64(db_.handle()); }

}  // namespace platform
