#include "StatementCache.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>

#include "BusyWait.h"
#include "Conversions.h"
#include "SqliteErrors.h"

namespace platform {
namespace {
// Texts differ by a code in every call; past this many the maps start over.
constexpr size_t kMaxTexts = 512;
}  // namespace

StatementCache::StatementCache(sqlite3* db, std::string file, size_t capacity)
    : db_(db), file_(std::move(file)), capacity_(capacity) {}

StatementCache::~StatementCache() {
    for (auto& entry : idle_) sqlite3_finalize(entry.second);
}

void StatementCache::finalize(sqlite3_stmt* stmt) {
    columns_.erase(stmt);
    sqlite3_finalize(stmt);
}

std::shared_ptr<const std::vector<ResultColumn>> StatementCache::columns(sqlite3_stmt* stmt,
                                                                         int hidden) {
    const int reprepared = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    auto it = columns_.find(stmt);
    if (it != columns_.end() && it->second.reprepared == reprepared && it->second.hidden == hidden)
        return it->second.list;
    auto text = [](const char* p) { return std::string(p ? p : ""); };
    auto list = std::make_shared<std::vector<ResultColumn>>();
    const int count = sqlite3_column_count(stmt) - hidden;
    list->reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i)
        list->push_back({text(sqlite3_column_name(stmt, i)),
                         text(sqlite3_column_table_name(stmt, i)),
                         text(sqlite3_column_origin_name(stmt, i)),
                         KindOfDeclaredType(sqlite3_column_decltype(stmt, i))});
    columns_[stmt] = {reprepared, hidden, list};
    return list;
}

sql::QueryPlan StatementCache::plan(const std::string& source) {
    auto it = plans_.find(source);
    if (it != plans_.end()) return it->second;
    sql::QueryPlan p = sql::PlanQuery(source);
    if (plans_.size() >= kMaxTexts) plans_.clear();
    plans_.emplace(source, p);
    return p;
}

std::string StatementCache::translate(const std::string& source) {
    auto it = translations_.find(source);
    if (it != translations_.end()) return it->second;
    std::string t = sql::Translate(source);
    if (translations_.size() >= kMaxTexts) translations_.clear();
    translations_.emplace(source, t);
    return t;
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

namespace {

void bindLiteral(sqlite3_stmt* stmt, int index, const sql::Token& t) {
    if (t.kind == sql::Token::Kind::String) {
        const char q = t.text.front();
        std::string value;
        for (size_t i = 1; i + 1 < t.text.size(); ++i) {
            value += t.text[i];
            if (t.text[i] == q) ++i;
        }
        sqlite3_bind_text(stmt, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    // Whole numbers bind as integers and others as reals, as SQLite reads the literals.
    if (IsWholeNumber(t.text)) {
        errno = 0;
        char* end = nullptr;
        long long v = std::strtoll(t.text.c_str(), &end, 10);
        if (errno == 0 && *end == 0) {
            sqlite3_bind_int64(stmt, index, v);
            return;
        }
    }
    sqlite3_bind_double(stmt, index, ParseNumber(t.text).value_or(0.0));
}

}  // namespace

int StatementCache::tryAcquireShaped(const std::string& sql, std::string& key, sqlite3_stmt** out) {
    sql::Shape shape = sql::Parameterize(sql);
    int rc = tryAcquire(shape.sql, out);
    if (rc != SQLITE_OK && !shape.params.empty()) {
        // Some places take no parameters (a CHECK in DDL): run the text as written.
        rc = tryAcquire(sql, out);
        if (rc == SQLITE_OK) key = sql;
        return rc;
    }
    if (rc != SQLITE_OK) return rc;
    for (size_t i = 0; i < shape.params.size(); ++i)
        bindLiteral(*out, static_cast<int>(i) + 1, shape.params[i]);
    key = std::move(shape.sql);
    return SQLITE_OK;
}

sqlite3_stmt* StatementCache::acquireShaped(const std::string& sql, std::string& key) {
    sqlite3_stmt* stmt = nullptr;
    int rc = tryAcquireShaped(sql, key, &stmt);
    if (rc != SQLITE_OK) ThrowSqlite(rc, lastError_, file_);
    return stmt;
}

sqlite3_stmt* StatementCache::acquireSource(const std::string& source, std::string& key,
                                            std::string& table) {
    // Texts that differ only in a compared code share a template: no translating,
    // parameterising or preparing per text.
    sql::SourceKey shape = sql::KeyOfSource(source);
    if (shape.usable) {
        auto it = templates_.find(shape.text);
        if (it == templates_.end()) {
            if (templates_.size() >= kMaxTexts) templates_.clear();
            it = templates_.emplace(shape.text, sql::PlanOfKey(shape)).first;
        }
        const sql::PlanTemplate& t = it->second;
        const bool updatable = !t.updatable.sql.empty();
        const sql::ShapeTemplate& form = updatable ? t.updatable : t.readOnly;
        sqlite3_stmt* stmt = nullptr;
        if (t.usable && tryAcquire(form.sql, &stmt) == SQLITE_OK) {
            for (size_t i = 0; i < form.literal.size(); ++i) {
                const int from = form.literal[i];
                bindLiteral(stmt, static_cast<int>(i) + 1,
                            from >= 0 ? shape.literals[from] : form.constant[i]);
            }
            key = form.sql;
            table = updatable ? t.table : std::string();
            return stmt;
        }
        // Not preparing (a view has no rowid, a missing table): the text on its own says why.
    }
    const sql::QueryPlan p = plan(source);
    sqlite3_stmt* stmt = nullptr;
    if (!p.updatableSql.empty() && tryAcquireShaped(p.updatableSql, key, &stmt) == SQLITE_OK) {
        table = p.table;
        return stmt;
    }
    stmt = acquireShaped(p.sql, key);
    table.clear();
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
