#include "StoredRows.h"

#include <sqlite3.h>

#include <bit>
#include <charconv>

#include "BusyWait.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "PgConnection.h"
#include "ServerCapture.h"
#include "SqlHooks.h"
#include "SqliteErrors.h"
#include "Statement.h"

namespace platform {

namespace {

std::string realText(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

// " where rowid = (the first row whose key columns are the key's values)", binding from ?first.
std::string firstMatching(const Database& db, const std::string& table, const StoredRow& key) {
    const char* same = db.server() ? " is not distinct from " : " is ";
    const char* id = db.server() ? "ctid" : "rowid";
    std::string where;
    for (std::size_t i = 0; i < key.columns.size(); ++i)
        where += (i ? " and " : "") + QuotedName(key.columns[i]) + same + "?";
    return std::string(" where ") + id + " = (select " + id + " from " + QuotedName(table) +
           " where " + where + " limit 1)";
}

std::string insertSql(const std::string& table, const std::vector<std::string>& columns, int rows) {
    std::string names, marks;
    for (std::size_t i = 0; i < columns.size(); ++i)
        names += (i ? ", " : "") + QuotedName(columns[i]);
    for (int row = 0; row < rows; ++row) {
        marks += row ? "), (" : "";
        for (std::size_t i = 0; i < columns.size(); ++i) marks += i ? ", ?" : "?";
    }
    return "insert into " + QuotedName(table) + " (" + names + ") values (" + marks + ")";
}

}  // namespace

bool StoredValue::operator==(const StoredValue& o) const {
    if (kind != o.kind) return false;
    switch (kind) {
        case Class::Null:
            return true;
        case Class::Integer:
            return integer == o.integer;
        case Class::Real:
            return std::bit_cast<unsigned long long>(real) ==
                   std::bit_cast<unsigned long long>(o.real);
        default:
            return bytes == o.bytes;
    }
}

std::string StoredValue::Shown() const {
    switch (kind) {
        case Class::Null:
            return "Null";
        case Class::Integer:
            return std::to_string(integer);
        case Class::Real:
            return realText(real);
        case Class::Text:
            return bytes;
        case Class::Blob:
            return "(" + std::to_string(bytes.size()) + " bytes)";
    }
    return "";
}

void StoredRow::Add(std::string column, StoredValue value) {
    columns.push_back(std::move(column));
    values.push_back(std::move(value));
}

const StoredValue* StoredRow::Find(const std::string& column) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (EqualsNoCase(columns[i], column)) return &values[i];
    return nullptr;
}

StoredRow StoredRow::Only(const std::vector<std::string>& names) const {
    StoredRow out;
    for (const auto& name : names)
        if (const StoredValue* v = Find(name)) out.Add(name, *v);
    return out;
}

StoredValue StoredValueOf(sqlite3_value* value) {
    StoredValue v;
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            v.kind = StoredValue::Class::Integer;
            v.integer = sqlite3_value_int64(value);
            break;
        case SQLITE_FLOAT:
            v.kind = StoredValue::Class::Real;
            v.real = sqlite3_value_double(value);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            v.kind = sqlite3_value_type(value) == SQLITE_TEXT ? StoredValue::Class::Text
                                                              : StoredValue::Class::Blob;
            const void* data = v.kind == StoredValue::Class::Text
                                   ? static_cast<const void*>(sqlite3_value_text(value))
                                   : sqlite3_value_blob(value);
            if (data) v.bytes.assign(static_cast<const char*>(data), sqlite3_value_bytes(value));
            break;
        }
        default:
            break;
    }
    return v;
}

// Binds a row's values from parameter `first` on.
void bindAll(Statement& s, const StoredRow& row, int first) {
    for (std::size_t i = 0; i < row.values.size(); ++i)
        s.Bind(first + static_cast<int>(i), row.values[i]);
}

RowInserter::RowInserter(Database& db, const std::string& table,
                         const std::vector<std::string>& columns, int rows)
    : statement_(std::make_unique<Statement>(db, insertSql(table, columns, rows))) {}

RowInserter::~RowInserter() = default;

void RowInserter::Insert(const std::vector<StoredValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        statement_->Bind(static_cast<int>(i) + 1, values[i]);
    Run();
}

void RowInserter::Bind(int index, const StoredValue& value) { statement_->Bind(index, value); }

void RowInserter::BindText(int index, std::string_view text) { statement_->Bind(index, text); }

void RowInserter::Run() {
    statement_->Step();
    statement_->Reset();
}

KeyedRows::KeyedRows(Database& db) : db_(db) {}

KeyedRows::~KeyedRows() = default;

Statement& KeyedRows::statement(const std::string& sql) {
    auto& known = statements_[sql];
    if (!known) known = std::make_unique<Statement>(db_, sql);
    return *known;
}

std::optional<StoredRow> KeyedRows::Read(const std::string& table, const StoredRow& key) {
    Statement& read =
        statement("select * from " + QuotedName(table) + firstMatching(db_, table, key));
    bindAll(read, key, 1);
    std::optional<StoredRow> row;
    if (read.Step()) row = read.Row();
    read.Reset();  // lets go of the table
    return row;
}

void KeyedRows::Insert(const std::string& table, const StoredRow& row) {
    Statement& insert = statement(insertSql(table, row.columns, 1));
    bindAll(insert, row, 1);
    insert.Step();
    insert.Reset();
}

void KeyedRows::Update(const std::string& table, const StoredRow& key, const StoredRow& row) {
    std::string sets;
    for (std::size_t i = 0; i < row.columns.size(); ++i)
        sets += (i ? ", " : "") + QuotedName(row.columns[i]) + " = ?";
    Statement& update =
        statement("update " + QuotedName(table) + " set " + sets + firstMatching(db_, table, key));
    bindAll(update, row, 1);
    bindAll(update, key, static_cast<int>(row.columns.size()) + 1);
    update.Step();
    update.Reset();
}

void KeyedRows::Delete(const std::string& table, const StoredRow& key) {
    Statement& remove =
        statement("delete from " + QuotedName(table) + firstMatching(db_, table, key));
    bindAll(remove, key, 1);
    remove.Step();
    remove.Reset();
}

}  // namespace platform
