#include "StatementCache.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>

#include "BusyWait.h"
#include "Conversions.h"
#include "SqliteErrors.h"

namespace platform {
StatementCache::StatementCache(sqlite3* db, std::string file, size_t capacity)
    : db_(db), file_(std::move(file)), capacity_(capacity) {}

StatementCache::~StatementCache() {
    for (auto& entry : idle_) sqlite3_finalize(entry.second);
}

void StatementCache::finalize(sqlite3_stmt* stmt) {
    columns_.erase(stmt);
    sqlite3_finalize(stmt);
}

std::shared_ptr<const std::vector<ResultColumn>> StatementCache::columns(sqlite3_stmt* stmt) {
    const int reprepared = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    auto it = columns_.find(stmt);
    if (it != columns_.end() && it->second.reprepared == reprepared) return it->second.list;
    auto text = [](const char* p) { return std::string(p ? p : ""); };
    auto list = std::make_shared<std::vector<ResultColumn>>();
    const int count = sqlite3_column_count(stmt);
    list->reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i)
        list->push_back({text(sqlite3_column_name(stmt, i)),
                         text(sqlite3_column_table_name(stmt, i)),
                         text(sqlite3_column_origin_name(stmt, i)),
                         KindOfDeclaredType(sqlite3_column_decltype(stmt, i))});
    columns_[stmt] = {reprepared, list};
    return list;
}

int StatementCache::tryAcquire(const std::string& sql, sqlite3_stmt** out) {
    for (auto it = idle_.begin(); it != idle_.end(); ++it) {
        if (it->first == sql) {
            *out = it->second;
            idle_.erase(it);
            return SQLITE_OK;
        }
    }
    *out = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()) + 1,
                                SQLITE_PREPARE_PERSISTENT, out, &tail);
    SettleBusyWait();  // reading the schema may have waited
    if (rc != SQLITE_OK) {
        lastError_ = sqlite3_errmsg(db_);
        sqlite3_finalize(*out);
        *out = nullptr;
        return rc;
    }
    while (tail &&
           (*tail == ' ' || *tail == ';' || *tail == '\n' || *tail == '\r' || *tail == '\t'))
        ++tail;
    if (!*out || (tail && *tail)) {
        // One statement per text: a second one can only come from a value typed into the
        // text, and must never run.
        lastError_ = *out ? "more than one statement in the query text" : "the query text is empty";
        sqlite3_finalize(*out);
        *out = nullptr;
        return SQLITE_ERROR;
    }
    ++prepared_;
    return SQLITE_OK;
}

sqlite3_stmt* StatementCache::acquire(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = tryAcquire(sql, &stmt);
    if (rc != SQLITE_OK) ThrowSqlite(rc, lastError_, file_);
    return stmt;
}

void StatementCache::release(const std::string& sql, sqlite3_stmt* stmt) {
    if (!stmt) return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    idle_.emplace_front(sql, stmt);
    if (idle_.size() > capacity_) {
        finalize(idle_.back().second);
        idle_.pop_back();
    }
}

}  // namespace platform
