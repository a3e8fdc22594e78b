#include "RecordsetImpl.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "Database.h"
#include "EngineError.h"
#include "SqlDialect.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string quoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string text(const char* p) { return p ? p : ""; }

[[noreturn]] void noCurrentRecord() {
    throw EngineError(err::NoCurrentRecord, "No current record.");
}

}  // namespace

Recordset::Impl::Impl(std::shared_ptr<Database> db, sqlite3_stmt* stmt, std::string sql,
                      std::string table)
    : db_(std::move(db)), stmt_(stmt), sql_(std::move(sql)), table_(std::move(table)) {
    hidden_ = table_.empty() ? 0 : 1;
}

Recordset::Impl::~Impl() { releaseStatement(); }

void Recordset::Impl::open() {
    const int count = sqlite3_column_count(stmt_);
    for (int i = 0; i < count - hidden_; ++i) {
        columns_.push_back({text(sqlite3_column_name(stmt_, i)),
                            text(sqlite3_column_table_name(stmt_, i)),
                            text(sqlite3_column_origin_name(stmt_, i)),
                            KindOfDeclaredType(sqlite3_column_decltype(stmt_, i))});
    }
    if (fetch()) {
        pos_ = 0;
        eof_ = bof_ = false;
    }
}

void Recordset::Impl::releaseStatement() {
    if (stmt_) db_->statements().release(sql_, stmt_);
    stmt_ = nullptr;
}

bool Recordset::Impl::fetch() {
    if (done_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        Row row;
        if (hidden_) row.rowid = sqlite3_column_int64(stmt_, static_cast<int>(columns_.size()));
        row.values.reserve(columns_.size());
        for (size_t i = 0; i < columns_.size(); ++i)
            row.values.push_back(ReadColumn(stmt_, static_cast<int>(i), columns_[i].kind));
        rows_.push_back(std::move(row));
        ++fetched_;
        return true;
    }
    done_ = true;
    // A statement read to its end goes back to the cache at once: it holds no lock then.
    if (rc == SQLITE_DONE) {
        releaseStatement();
        return false;
    }
    const std::string message = sqlite3_errmsg(db_->handle());
    releaseStatement();
    ThrowSqlite(rc, message, db_->Name());
}

void Recordset::Impl::requireOpen() const {
    if (!open_) throw EngineError(err::ObjectClosed, "Object invalid or no longer set.");
}

bool Recordset::Impl::hasCurrent() const {
    return open_ && !eof_ && !bof_ && pos_ >= 0 && pos_ < static_cast<long long>(rows_.size()) &&
           !rows_[pos_].deleted;
}

void Recordset::Impl::requireCurrent() const {
    requireOpen();
    if (!hasCurrent()) noCurrentRecord();
}

void Recordset::Impl::requireUpdatable() const {
    requireOpen();
    if (!updatable())
        throw EngineError(err::NotUpdatable, "Cannot update. Database or object is read-only.");
}

void Recordset::Impl::checkIndex(int index) const {
    requireOpen();
    if (index < 0 || index >= fieldCount())
        throw EngineError(err::ItemNotFound, "Item not found in this collection.");
}

const std::string& Recordset::Impl::fieldName(int index) const {
    checkIndex(index);
    return columns_[index].name;
}

int Recordset::Impl::fieldIndex(std::string_view name) const {
    requireOpen();
    for (size_t i = 0; i < columns_.size(); ++i)
        if (equalsNoCase(columns_[i].name, name)) return static_cast<int>(i);
    // "table.column" reaches a column of a join that another table shares.
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        const std::string_view table = name.substr(0, dot);
        const std::string_view column = name.substr(dot + 1);
        for (size_t i = 0; i < columns_.size(); ++i) {
            const Column& c = columns_[i];
            if (equalsNoCase(c.table, table) &&
                (equalsNoCase(c.origin, column) || equalsNoCase(c.name, column)))
                return static_cast<int>(i);
        }
    }
    throw EngineError(err::ItemNotFound, "Item not found in this collection.");
}

Variant Recordset::Impl::value(int index) const {
    checkIndex(index);
    if (mode_ != Mode::None && pending_[index]) return *pending_[index];
    if (mode_ == Mode::AddNew) return {};
    requireCurrent();
    return rows_[pos_].values[index];
}

void Recordset::Impl::setValue(int index, const Variant& v) {
    checkIndex(index);
    if (mode_ == Mode::None)
        throw EngineError(err::UpdateWithoutAddNew,
                          "Update or CancelUpdate without AddNew or Edit.");
    const Column& c = columns_[index];
    if (c.origin.empty() || !equalsNoCase(c.table, table_))
        throw EngineError(err::FieldNotUpdatable, "Field '" + c.name + "' cannot be updated.");
    pending_[index] = v;
}

void Recordset::Impl::addNew() {
    requireUpdatable();
    pending_.assign(columns_.size(), std::nullopt);
    mode_ = Mode::AddNew;
}

void Recordset::Impl::edit() {
    requireUpdatable();
    requireCurrent();
    pending_.assign(columns_.size(), std::nullopt);
    mode_ = Mode::Edit;
}

// Pending rows are dropped silently when there are none: cleanup code may call this
// after any failure without knowing how far it got.
void Recordset::Impl::cancelUpdate() {
    requireOpen();
    mode_ = Mode::None;
    pending_.clear();
}

void Recordset::Impl::update() {
    requireOpen();
    if (mode_ == Mode::None)
        throw EngineError(err::UpdateWithoutAddNew,
                          "Update or CancelUpdate without AddNew or Edit.");
    writePending();
    mode_ = Mode::None;
    pending_.clear();
}

void Recordset::Impl::writePending() {
    // Convert everything first, so a value that does not convert leaves nothing written.
    std::vector<std::string> names;
    std::vector<Variant> values;
    std::vector<size_t> fieldOf;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!pending_[i]) continue;
        Variant v = ConvertForColumn(*pending_[i], columns_[i].kind);
        auto same = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
            return equalsNoCase(n, columns_[i].origin);
        });
        if (same != names.end()) {
            values[same - names.begin()] = v;  // the last write to a column wins
            continue;
        }
        names.push_back(columns_[i].origin);
        values.push_back(std::move(v));
        fieldOf.push_back(i);
    }
    if (mode_ == Mode::Edit && names.empty()) return;

    std::string sql;
    if (mode_ == Mode::AddNew) {
        if (names.empty()) {
            sql = "INSERT INTO " + quoteName(table_) + " DEFAULT VALUES";
        } else {
            std::string cols, params;
            for (size_t i = 0; i < names.size(); ++i) {
                cols += (i ? ", " : "") + quoteName(names[i]);
                params += i ? ", ?" : "?";
            }
            sql = "INSERT INTO " + quoteName(table_) + " (" + cols + ") VALUES (" + params + ")";
        }
    } else {
        sql = "UPDATE " + quoteName(table_) + " SET ";
        for (size_t i = 0; i < names.size(); ++i)
            sql += (i ? ", " : "") + quoteName(names[i]) + " = ?";
        sql += " WHERE rowid = ?";
    }

    StatementCache& cache = db_->statements();
    sqlite3_stmt* stmt = cache.acquire(sql);
    for (size_t i = 0; i < values.size(); ++i) BindValue(stmt, static_cast<int>(i) + 1, values[i]);
    if (mode_ == Mode::Edit)
        sqlite3_bind_int64(stmt, static_cast<int>(values.size()) + 1, rows_[pos_].rowid);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db_->handle());
        cache.release(sql, stmt);
        ThrowSqlite(rc, message, db_->Name());
    }
    cache.release(sql, stmt);
    if (mode_ == Mode::Edit) {
        if (sqlite3_changes(db_->handle()) == 0)
            throw EngineError(err::RecordDeleted, "Record is deleted.");
        // Keep the cached row as the table now holds it.
        for (size_t k = 0; k < names.size(); ++k)
            for (size_t i = 0; i < columns_.size(); ++i)
                if (equalsNoCase(columns_[i].origin, names[k]) &&
                    equalsNoCase(columns_[i].table, table_))
                    rows_[pos_].values[i] = values[k];
    }
}

void Recordset::Impl::remove() {
    requireUpdatable();
    requireCurrent();
    mode_ = Mode::None;
    const std::string sql = "DELETE FROM " + quoteName(table_) + " WHERE rowid = ?";
    StatementCache& cache = db_->statements();
    sqlite3_stmt* stmt = cache.acquire(sql);
    sqlite3_bind_int64(stmt, 1, rows_[pos_].rowid);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db_->handle());
        cache.release(sql, stmt);
        ThrowSqlite(rc, message, db_->Name());
    }
    cache.release(sql, stmt);
    rows_[pos_].deleted = true;
}

void Recordset::Impl::moveFirst() {
    requireOpen();
    mode_ = Mode::None;
    for (size_t p = 0;; ++p) {
        if (p >= rows_.size() && !fetch()) noCurrentRecord();
        if (!rows_[p].deleted) {
            pos_ = static_cast<long long>(p);
            eof_ = bof_ = false;
            return;
        }
    }
}

void Recordset::Impl::moveLast() {
    requireOpen();
    mode_ = Mode::None;
    while (fetch()) {
    }
    for (size_t p = rows_.size(); p-- > 0;) {
        if (!rows_[p].deleted) {
            pos_ = static_cast<long long>(p);
            eof_ = bof_ = false;
            return;
        }
    }
    noCurrentRecord();
}

void Recordset::Impl::moveNext() {
    requireOpen();
    if (eof_) noCurrentRecord();
    mode_ = Mode::None;
    size_t p = bof_ ? 0 : static_cast<size_t>(pos_) + 1;
    for (;; ++p) {
        if (p >= rows_.size() && !fetch()) {
            pos_ = static_cast<long long>(rows_.size());
            eof_ = true;
            bof_ = false;
            return;
        }
        if (!rows_[p].deleted) {
            pos_ = static_cast<long long>(p);
            bof_ = false;
            return;
        }
    }
}

void Recordset::Impl::movePrevious() {
    requireOpen();
    if (bof_) noCurrentRecord();
    mode_ = Mode::None;
    long long p = eof_ ? static_cast<long long>(rows_.size()) : pos_;
    while (--p >= 0 && rows_[p].deleted) {
    }
    eof_ = false;
    if (p < 0) {
        pos_ = -1;
        bof_ = true;
    } else {
        pos_ = p;
    }
}

bool Recordset::Impl::eof() const {
    requireOpen();
    return eof_;
}

bool Recordset::Impl::bof() const {
    requireOpen();
    return bof_;
}

void Recordset::Impl::close() {
    releaseStatement();
    open_ = false;
    rows_.clear();
    pending_.clear();
    mode_ = Mode::None;
}

}  // namespace platform
