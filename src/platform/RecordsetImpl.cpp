#include "RecordsetImpl.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "BusyWait.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "SqlDialect.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {
namespace {

std::string quoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Every recordset whose statement is still stepping, so they can be finished between events.
std::vector<Recordset::Impl*>& readers() {
    static std::vector<Recordset::Impl*> list;
    return list;
}

[[noreturn]] void noCurrentRecord() {
    throw EngineError(err::NoCurrentRecord, "No current record.");
}

}  // namespace

Recordset::Impl::Impl(std::shared_ptr<Database> db, sqlite3_stmt* stmt, std::string sql,
                      std::string table)
    : db_(std::move(db)), stmt_(stmt), sql_(std::move(sql)), table_(std::move(table)) {
    hidden_ = table_.empty() ? 0 : 1;
    if (stmt_) readers().push_back(this);
}

Recordset::Impl::Impl(std::shared_ptr<Database> db, std::unique_ptr<PgCursor> rows,
                      std::shared_ptr<const std::vector<ResultColumn>> columns, std::string table)
    : db_(std::move(db)),
      stmt_(nullptr),
      table_(std::move(table)),
      columns_(std::move(columns)),
      cursor_(std::move(rows)),
      serverRows_(cursor_->rows()) {
    hidden_ = table_.empty() ? 0 : 1;
}

Recordset::Impl::~Impl() { releaseStatement(); }

void Recordset::Impl::open() {
    if (serverRows_) {
        // Copied in up to the last batch now: a cursor cannot outlast its transaction.
        if (!fetchServer()) return;
        while (cursor_ && cursor_->open()) fetchServer();
        pos_ = 0;
        eof_ = bof_ = false;
        return;
    }
    const int rc = StepStatement(stmt_);
    // Columns are read after the first step: a schema change re-prepares the statement there.
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) columns_ = db_->statements().columns(stmt_, hidden_);
    if (rc != SQLITE_ROW) {
        finish(rc);
        return;
    }
    storeRow();
    pos_ = 0;
    eof_ = bof_ = false;
}

void Recordset::Impl::releaseStatement() {
    if (!stmt_) return;
    db_->statements().release(sql_, stmt_);
    stmt_ = nullptr;
    auto& list = readers();
    std::erase(list, this);
}

void Recordset::Impl::finishReading() {
    try {
        while (fetch()) {
        }
    } catch (const EngineError&) {
        // The rows read so far stay; the statement is released by finish().
    }
    releaseStatement();
}

Recordset& OpenSet(const std::unique_ptr<Recordset>& rs) {
    if (!rs || !rs->IsOpen())
        throw EngineError(err::ObjectClosed, "Object invalid or no longer set.");
    return *rs;
}

void FinishPendingReads() {
    const auto pending = readers();  // finishing one removes it from the list
    for (Recordset::Impl* impl : pending) impl->finishReading();
}

bool Recordset::Impl::fetch() {
    if (done_) return false;
    if (db_->server()) return fetchServer();
    const int rc = StepStatement(stmt_);
    if (rc == SQLITE_ROW) {
        storeRow();
        return true;
    }
    finish(rc);
    return false;
}

// Each field typed by its column's kind (dates stored as text come back as Date),
// written into the flat row store. The column's value is read
// through sqlite3_value_*: one API call per field instead of three, and safe because one
// thread uses the connection.
void Recordset::Impl::storeRow() {
    const std::vector<Column>& columns = *columns_;
    const int count = static_cast<int>(columns.size());
    Row row;
    if (hidden_) row.rowid = sqlite3_column_int64(stmt_, count);
    row.seen = changes();
    rows_.push_back(row);
    if (cells_.capacity() - cells_.size() < columns.size())
        cells_.reserve(std::max(cells_.capacity() * 2, columns.size() * 16));
    for (int i = 0; i < count; ++i)
        fillCell(cells_.emplace_back(), sqlite3_column_value(stmt_, i), columns[i].kind);
    ++fetched_;
}

void Recordset::Impl::fillCell(Cell& c, sqlite3_value* value, ColumnKind kind) {
    c = Cell();
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            c.integer = sqlite3_value_int64(value);
            c.tag = kind == ColumnKind::Boolean ? Cell::Tag::Boolean : Cell::Tag::Integer;
            break;
        case SQLITE_FLOAT:
            c.real = sqlite3_value_double(value);
            c.tag = Cell::Tag::Real;
            break;
        case SQLITE_NULL:
            break;
        default: {
            const char* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
            const int n = p ? sqlite3_value_bytes(value) : 0;
            c.offset = text_.size();
            c.size = static_cast<std::uint32_t>(n);
            text_.resize(text_.size() + static_cast<size_t>(n));
            if (n) std::memcpy(text_.data() + c.offset, p, static_cast<size_t>(n));
            c.tag = kind == ColumnKind::Date ? Cell::Tag::DateText : Cell::Tag::Text;
        }
    }
}

long long Recordset::Impl::changes() const {
    return db_->server() ? db_->server()->changes() : sqlite3_total_changes(db_->handle());
}

// The table's primary-key fields among the set's columns. A row is found again by its rowid
// and these values as read: SQLite gives the rowid of a deleted last row to the next insert,
// so the rowid alone could reach another row. Empty when a key column is not in the set.
const std::vector<int>& Recordset::Impl::keyFields() {
    if (keyFields_) return *keyFields_;
    const std::vector<Column>& columns = *columns_;
    std::vector<int> fields;
    bool complete = true;
    if (db_->server()) {
        for (const std::string& name : db_->server()->keyColumns(table_)) {
            int found = -1;
            for (size_t i = 0; i < columns.size() && found < 0; ++i)
                if (EqualsNoCase(columns[i].origin, name) && EqualsNoCase(columns[i].table, table_))
                    found = static_cast<int>(i);
            complete = complete && found >= 0;
            fields.push_back(found);
        }
        if (!complete) fields.clear();
        keyFields_ = std::move(fields);
        return *keyFields_;
    }
    StatementCache& cache = db_->statements();
    const std::string sql = "PRAGMA table_info(" + quoteName(table_) + ")";
    sqlite3_stmt* stmt = cache.acquire(sql);
    while (StepStatement(stmt) == SQLITE_ROW) {
        if (sqlite3_column_int(stmt, 5) == 0) continue;  // not part of the key
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        int found = -1;
        for (size_t i = 0; i < columns.size() && found < 0; ++i)
            if (EqualsNoCase(columns[i].origin, name ? name : "") &&
                EqualsNoCase(columns[i].table, table_))
                found = static_cast<int>(i);
        if (found < 0)
            complete = false;
        else
            fields.push_back(found);
    }
    cache.release(sql, stmt);
    if (!complete) fields.clear();
    keyFields_ = std::move(fields);
    return *keyFields_;
}

std::string Recordset::Impl::rowCondition() {
    std::string where = " WHERE rowid = ?";
    for (int i : keyFields()) where += " AND " + quoteName((*columns_)[i].origin) + " IS ?";
    return where;
}

void Recordset::Impl::bindRow(sqlite3_stmt* stmt, int first, size_t p) {
    sqlite3_bind_int64(stmt, first, rows_[p].rowid);
    for (int i : keyFields()) BindValue(stmt, ++first, valueOf(cell(p, i)));
}

// A row the cursor comes back to shows what its table holds now, as a dynaset does: a
// change saved since through another recordset is seen, and a row deleted since is gone.
// Only rows of an updatable set can be found again, and only a write since they were read
// can have changed them.
bool Recordset::Impl::gone(const Row& row) const {
    return row.deleted && !(row.deletedIn != 0 && db_->RolledBack(row.deletedIn));
}

bool Recordset::Impl::present(size_t p) {
    Row& row = rows_[p];
    if (row.deleted && !gone(row)) {
        // Its delete was rolled back: read it again as the table holds it.
        row.deleted = false;
        row.deletedIn = 0;
        row.seen = -1;
    }
    if (row.deleted || !updatable() || row.seen == changes()) return !row.deleted;
    if (db_->server()) return rereadServer(p);
    const std::vector<Column>& columns = *columns_;
    std::vector<int> fields;
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].origin.empty() || !EqualsNoCase(columns[i].table, table_)) continue;
        sql += (fields.empty() ? "" : ", ") + quoteName(columns[i].origin);
        fields.push_back(static_cast<int>(i));
    }
    if (fields.empty()) sql += "1";
    sql += " FROM " + quoteName(table_) + rowCondition();

    StatementCache& cache = db_->statements();
    sqlite3_stmt* stmt = cache.acquire(sql);
    bindRow(stmt, 1, p);
    const int rc = StepStatement(stmt);
    if (rc == SQLITE_ROW) {
        for (size_t k = 0; k < fields.size(); ++k)
            fillCell(cell(p, fields[k]), sqlite3_column_value(stmt, static_cast<int>(k)),
                     columns[fields[k]].kind);
        row.seen = changes();
    } else if (rc == SQLITE_DONE) {
        row.deleted = true;
    } else {
        const std::string message = sqlite3_errmsg(db_->handle());
        cache.release(sql, stmt);
        ThrowSqlite(rc, message, db_->Name());
    }
    cache.release(sql, stmt);
    return !row.deleted;
}

void Recordset::Impl::finish(int rc) {
    done_ = true;
    // A statement read to its end goes back to the cache at once: it holds no lock then.
    if (rc == SQLITE_DONE) {
        releaseStatement();
        return;
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
           !gone(rows_[pos_]);
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
    return (*columns_)[index].name;
}

int Recordset::Impl::fieldIndex(std::string_view name) const {
    requireOpen();
    const std::vector<Column>& columns = *columns_;
    for (size_t i = 0; i < columns.size(); ++i)
        if (EqualsNoCase(columns[i].name, name)) return static_cast<int>(i);
    // "table.column" reaches a column of a join that another table shares.
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        const std::string_view table = name.substr(0, dot);
        const std::string_view column = name.substr(dot + 1);
        for (size_t i = 0; i < columns.size(); ++i) {
            const Column& c = columns[i];
            if (EqualsNoCase(c.table, table) &&
                (EqualsNoCase(c.origin, column) || EqualsNoCase(c.name, column)))
                return static_cast<int>(i);
        }
    }
    throw EngineError(err::ItemNotFound, "Item not found in this collection.");
}

Variant Recordset::Impl::checkedValue(int index) const {
    checkIndex(index);
    if (mode_ != Mode::None && pending_[index]) return *pending_[index];
    if (mode_ == Mode::AddNew) return {};
    requireCurrent();
    return valueOf(cell(static_cast<size_t>(pos_), index));
}

Variant Recordset::Impl::valueOf(const Cell& c) const {
    switch (c.tag) {
        case Cell::Tag::Null:
            return {};
        case Cell::Tag::Integer:
            return c.integer;
        case Cell::Tag::Real:
            return c.real;
        case Cell::Tag::Boolean:
            return Variant::fromBool(c.integer != 0);
        case Cell::Tag::Text:
            return std::string(text_.data() + c.offset, c.size);
        case Cell::Tag::DateText: {
            const std::string_view stored(text_.data() + c.offset, c.size);
            if (auto d = DateTime::fromStored(stored)) return *d;
            return std::string(stored);
        }
        case Cell::Tag::Boxed:
            return boxed_[c.offset];
    }
    return {};
}

Recordset::Impl::Cell Recordset::Impl::cellOf(const Variant& v) {
    Cell c;
    switch (v.type()) {
        case Variant::Type::Null:
            break;
        case Variant::Type::Integer:
            c.tag = Cell::Tag::Integer;
            c.integer = *v.integer();
            break;
        case Variant::Type::Real:
            c.tag = Cell::Tag::Real;
            c.real = *v.real();
            break;
        case Variant::Type::Boolean:
            c.tag = Cell::Tag::Boolean;
            c.integer = *v.boolean() ? 1 : 0;
            break;
        case Variant::Type::Text:
        case Variant::Type::Date:
            c.tag = Cell::Tag::Boxed;
            c.offset = boxed_.size();
            boxed_.push_back(v);
            break;
    }
    return c;
}

void Recordset::Impl::setValue(int index, const Variant& v) {
    checkIndex(index);
    if (mode_ == Mode::None)
        throw EngineError(err::UpdateWithoutAddNew,
                          "Update or CancelUpdate without AddNew or Edit.");
    const Column& c = (*columns_)[index];
    if (c.origin.empty() || !EqualsNoCase(c.table, table_))
        throw EngineError(err::FieldNotUpdatable, "Field '" + c.name + "' cannot be updated.");
    pending_[index] = v;
}

void Recordset::Impl::addNew() {
    requireUpdatable();
    pending_.assign(columns_->size(), std::nullopt);
    mode_ = Mode::AddNew;
}

void Recordset::Impl::edit() {
    requireUpdatable();
    requireCurrent();
    pending_.assign(columns_->size(), std::nullopt);
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
    const std::vector<Column>& columns = *columns_;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (!pending_[i]) continue;
        Variant v = ConvertForColumn(*pending_[i], columns[i].kind);
        auto same = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
            return EqualsNoCase(n, columns[i].origin);
        });
        if (same != names.end()) {
            values[same - names.begin()] = v;  // the last write to a column wins
            continue;
        }
        names.push_back(columns[i].origin);
        values.push_back(std::move(v));
        fieldOf.push_back(i);
    }
    if (mode_ == Mode::Edit && names.empty()) return;

    const long long changed = db_->server() ? writeServer(names, values) : writeFile(names, values);
    if (mode_ == Mode::Edit) {
        if (changed == 0) throw EngineError(err::RecordDeleted, "Record is deleted.");
        // Keep the cached row as the table now holds it.
        for (size_t k = 0; k < names.size(); ++k)
            for (size_t i = 0; i < columns.size(); ++i)
                if (EqualsNoCase(columns[i].origin, names[k]) &&
                    EqualsNoCase(columns[i].table, table_))
                    cell(static_cast<size_t>(pos_), static_cast<int>(i)) = cellOf(values[k]);
    }
}

long long Recordset::Impl::writeFile(const std::vector<std::string>& names,
                                     const std::vector<Variant>& values) {
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
        sql += rowCondition();
    }

    runWrite(sql, [&](sqlite3_stmt* stmt) {
        for (size_t i = 0; i < values.size(); ++i)
            BindValue(stmt, static_cast<int>(i) + 1, values[i]);
        if (mode_ == Mode::Edit)
            bindRow(stmt, static_cast<int>(values.size()) + 1, static_cast<size_t>(pos_));
    });
    return sqlite3_changes(db_->handle());
}

void Recordset::Impl::remove() {
    requireUpdatable();
    requireCurrent();
    mode_ = Mode::None;
    long long changed;
    if (db_->server()) {
        changed = removeServer();
    } else {
        const std::string sql = "DELETE FROM " + quoteName(table_) + rowCondition();
        runWrite(sql, [&](sqlite3_stmt* stmt) { bindRow(stmt, 1, static_cast<size_t>(pos_)); });
        changed = sqlite3_changes(db_->handle());
    }
    rows_[pos_].deleted = true;
    rows_[pos_].deletedIn = db_->Transaction();
    if (changed == 0) throw EngineError(err::RecordDeleted, "Record is deleted.");
}

void Recordset::Impl::runWrite(const std::string& sql,
                               const std::function<void(sqlite3_stmt*)>& bind) {
    StatementCache& cache = db_->statements();
    sqlite3_stmt* stmt = cache.acquire(sql);
    bind(stmt);
    const int rc = StepStatement(stmt);
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db_->handle());
        cache.release(sql, stmt);
        ThrowSqlite(rc, message, db_->Name());
    }
    cache.release(sql, stmt);
}

void Recordset::Impl::moveFirst() {
    requireOpen();
    mode_ = Mode::None;
    for (size_t p = 0;; ++p) {
        // A row read just now is as its table holds it.
        const bool read = p >= rows_.size();
        if (read && !fetch()) noCurrentRecord();
        if (read || present(p)) {
            pos_ = static_cast<long long>(p);
            eof_ = bof_ = false;
            return;
        }
    }
}

void Recordset::Impl::moveLast() {
    requireOpen();
    mode_ = Mode::None;
    const size_t known = rows_.size();
    while (fetch()) {
    }
    for (size_t p = rows_.size(); p-- > 0;) {
        if (p >= known || present(p)) {
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
        const bool read = p >= rows_.size();
        if (read && !fetch()) {
            pos_ = static_cast<long long>(rows_.size());
            eof_ = true;
            bof_ = false;
            return;
        }
        if (read || present(p)) {
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
    while (--p >= 0 && !present(static_cast<size_t>(p))) {
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
    // A window keeps its closed recordsets for the next query; what they read goes now.
    // (Assigning {} would keep each vector's capacity.)
    std::vector<Row>().swap(rows_);
    std::vector<Cell>().swap(cells_);
    std::vector<char>().swap(text_);
    std::vector<Variant>().swap(boxed_);
    std::vector<std::optional<Variant>>().swap(pending_);
    mode_ = Mode::None;
}

}  // namespace platform
