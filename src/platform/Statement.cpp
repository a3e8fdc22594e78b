#include "Statement.h"

#include <sqlite3.h>

#include <algorithm>

#include "BusyWait.h"
#include "Conversions.h"
#include "Database.h"
#include "FieldCoding.h"
#include "ServerCapture.h"
#include "ServerValues.h"
#include "SqlHooks.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {

namespace {

void bindServer(PgParams& params, int index, std::optional<std::string> text) {
    const auto at = static_cast<size_t>(index - 1);
    if (params.size() <= at) params.resize(at + 1);
    params[at] = std::move(text);
}

}  // namespace

Statement::Statement(Database& db, std::string sql) : db_(db), sql_(std::move(sql)) {
    if (db.server())
        sql_ = ServerStatement(*db.server(), sql_);
    else
        stmt_ = db.statements().acquire(sql_);
}

Statement::~Statement() {
    if (stmt_) db_.statements().release(sql_, stmt_);
}

bool Statement::Run(std::initializer_list<Variant> values) {
    if (db_.server()) {
        params_.clear();
        for (const Variant& v : values) params_.push_back(ServerText(v));
        return Step();
    }
    unstep();
    int i = 0;
    for (const Variant& v : values) BindValue(stmt_, ++i, v);
    return Step();
}

void Statement::unstep() {
    if (stepped_) sqlite3_reset(stmt_);
    stepped_ = false;
}

void Statement::Bind(int index, long long value) {
    if (db_.server()) return bindServer(params_, index, ServerText(Variant(value)));
    unstep();
    sqlite3_bind_int64(stmt_, index, value);
}

void Statement::Bind(int index, double value) {
    if (db_.server()) return bindServer(params_, index, ServerText(Variant(value)));
    unstep();
    sqlite3_bind_double(stmt_, index, value);
}

void Statement::Bind(int index, std::string_view text) {
    if (db_.server()) return bindServer(params_, index, std::string(text));
    unstep();
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void Statement::BindNull(int index) {
    if (db_.server()) return bindServer(params_, index, std::nullopt);
    unstep();
    sqlite3_bind_null(stmt_, index);
}

void Statement::Bind(int index, const StoredValue& v) {
    if (db_.server()) return bindServer(params_, index, ServerParam(v));
    unstep();
    switch (v.kind) {
        case StoredValue::Class::Null:
            sqlite3_bind_null(stmt_, index);
            break;
        case StoredValue::Class::Integer:
            sqlite3_bind_int64(stmt_, index, v.integer);
            break;
        case StoredValue::Class::Real:
            sqlite3_bind_double(stmt_, index, v.real);
            break;
        case StoredValue::Class::Text:
            sqlite3_bind_text64(stmt_, index, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8);
            break;
        case StoredValue::Class::Blob:
            sqlite3_bind_blob64(stmt_, index, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT);
            break;
    }
}

StoredRow Statement::Row() const {
    StoredRow row;
    if (db_.server()) {
        for (int i = 0; i < rows_->columns(); ++i)
            row.Add((*columns_)[i].name, ServerStoredValue(*rows_, row_, i, (*columns_)[i].kind));
        return row;
    }
    for (int i = 0; i < sqlite3_column_count(stmt_); ++i)
        row.Add(sqlite3_column_name(stmt_, i), StoredValueOf(sqlite3_column_value(stmt_, i)));
    return row;
}

bool Statement::Step() {
    if (PgConnection* server = db_.server()) {
        rows_ = server->exec(sql_, params_);
        changes_ = rows_->changed();
        columns_ = server->columns(*rows_);
        row_ = -1;
        return Next();
    }
    unstep();
    stepped_ = true;
    return Next();
}

bool Statement::Next() {
    if (db_.server()) return rows_ && ++row_ < rows_->rows();
    const int rc = StepStatement(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string message = sqlite3_errmsg(db_.handle());
    sqlite3_reset(stmt_);
    ThrowSqlite(rc, message, db_.Name());
}

Variant Statement::Value(int i) const {
    if (db_.server()) {
        if (rows_->isNull(row_, i)) return Variant();
        const ColumnKind kind = (*columns_)[static_cast<size_t>(i)].kind;
        // As a file stores them: a date is its stored text.
        return ServerValue(rows_->text(row_, i),
                           kind == ColumnKind::Date ? ColumnKind::Text : kind);
    }
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

long long Statement::Changes() const {
    return db_.server() ? changes_ : sqlite3_changes64(db_.handle());
}

}  // namespace platform
