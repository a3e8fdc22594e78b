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
#include "SqliteErrors.h"

namespace platform {

namespace {

std::string realText(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Parameter `n` as the database numbers it.
std::string mark(const Database& db, int n) {
    return (db.server() ? "$" : "?") + std::to_string(n);
}

// " where rowid = (the first row whose key columns are the key's values)", binding from ?first.
std::string firstMatching(const Database& db, const std::string& table, const StoredRow& key,
                          int first) {
    const char* same = db.server() ? " is not distinct from " : " is ";
    const char* id = db.server() ? "ctid" : "rowid";
    std::string where;
    for (std::size_t i = 0; i < key.columns.size(); ++i)
        where += (i ? " and " : "") + quoted(key.columns[i]) + same +
                 mark(db, first + static_cast<int>(i));
    return std::string(" where ") + id + " = (select " + id + " from " + quoted(table) + " where " +
           where + " limit 1)";
}

std::string insertSql(const Database& db, const std::string& table,
                      const std::vector<std::string>& columns, int rows) {
    std::string names, marks;
    for (std::size_t i = 0; i < columns.size(); ++i) names += (i ? ", " : "") + quoted(columns[i]);
    for (int row = 0, n = 0; row < rows; ++row) {
        marks += row ? "), (" : "";
        for (std::size_t i = 0; i < columns.size(); ++i) marks += (i ? ", " : "") + mark(db, ++n);
    }
    return "insert into " + quoted(table) + " (" + names + ") values (" + marks + ")";
}

}  // namespace

// A statement of our own, finalized when done; its steps wait for other programs' locks.
class RowInserter::Prepared {
  public:
    Prepared(Database& db, const std::string& sql) : db_(db), pg_(db.server()), sql_(sql) {
        if (pg_) return;
        const int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt_, nullptr);
        SettleBusyWait();
        if (rc != SQLITE_OK) ThrowSqlite(db.handle(), rc, db.Name());
    }
    ~Prepared() { sqlite3_finalize(stmt_); }
    void Bind(int index, const StoredValue& v) {
        if (pg_) return (void)(param(index) = ServerParam(v));
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
    void BindAll(const StoredRow& row, int first) {
        for (std::size_t i = 0; i < row.values.size(); ++i)
            Bind(first + static_cast<int>(i), row.values[i]);
    }
    void BindText(int index, std::string_view text) {
        if (pg_) return (void)(param(index) = std::string(text));
        sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
    }
    // True while there is a row.
    bool Step() {
        if (pg_) {
            if (!ran_) result_ = pg_->exec(sql_, params_);
            ran_ = true;
            return row_++ < result_.rows();
        }
        const int rc = StepStatement(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) ThrowSqlite(db_.handle(), rc, db_.Name());
        return false;
    }
    void Reset() {
        if (!pg_) sqlite3_reset(stmt_);
        ran_ = false;
        row_ = 0;
    }
    // The row Step reached.
    StoredRow Row() {
        StoredRow row;
        if (pg_) {
            const auto columns = pg_->columns(result_);
            for (int i = 0; i < result_.columns(); ++i)
                row.Add((*columns)[i].name,
                        ServerStoredValue(result_, row_ - 1, i, (*columns)[i].kind));
            return row;
        }
        for (int i = 0; i < sqlite3_column_count(stmt_); ++i)
            row.Add(sqlite3_column_name(stmt_, i), StoredValueOf(sqlite3_column_value(stmt_, i)));
        return row;
    }

  private:
    std::optional<std::string>& param(int index) {
        if (params_.size() < static_cast<std::size_t>(index)) params_.resize(index);
        return params_[index - 1];
    }

    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    // On a server: the text, its parameters, and the rows of its last run.
    PgConnection* pg_;
    std::string sql_;
    PgParams params_;
    PgResult result_;
    bool ran_ = false;
    int row_ = 0;
};

using Prepared = RowInserter::Prepared;

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

RowInserter::RowInserter(Database& db, const std::string& table,
                         const std::vector<std::string>& columns, int rows)
    : statement_(std::make_unique<Prepared>(db, insertSql(db, table, columns, rows))) {}

RowInserter::~RowInserter() = default;

void RowInserter::Insert(const std::vector<StoredValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        statement_->Bind(static_cast<int>(i) + 1, values[i]);
    Run();
}

void RowInserter::Bind(int index, const StoredValue& value) { statement_->Bind(index, value); }

void RowInserter::BindText(int index, std::string_view text) { statement_->BindText(index, text); }

void RowInserter::Run() {
    statement_->Step();
    statement_->Reset();
}

KeyedRows::KeyedRows(Database& db) : db_(db) {}

KeyedRows::~KeyedRows() = default;

Prepared& KeyedRows::statement(const std::string& sql) {
    auto& known = statements_[sql];
    if (!known) known = std::make_unique<Prepared>(db_, sql);
    known->Reset();
    return *known;
}

std::optional<StoredRow> KeyedRows::Read(const std::string& table, const StoredRow& key) {
    Prepared& read =
        statement("select * from " + quoted(table) + firstMatching(db_, table, key, 1));
    read.BindAll(key, 1);
    std::optional<StoredRow> row;
    if (read.Step()) row = read.Row();
    read.Reset();  // lets go of the table
    return row;
}

void KeyedRows::Insert(const std::string& table, const StoredRow& row) {
    Prepared& insert = statement(insertSql(db_, table, row.columns, 1));
    insert.BindAll(row, 1);
    insert.Step();
}

void KeyedRows::Update(const std::string& table, const StoredRow& key, const StoredRow& row) {
    std::string sets;
    for (std::size_t i = 0; i < row.columns.size(); ++i)
        sets +=
            (i ? ", " : "") + quoted(row.columns[i]) + " = " + mark(db_, static_cast<int>(i) + 1);
    const int first = static_cast<int>(row.columns.size()) + 1;
    Prepared& update = statement("update " + quoted(table) + " set " + sets +
                                 firstMatching(db_, table, key, first));
    update.BindAll(row, 1);
    update.BindAll(key, first);
    update.Step();
}

void KeyedRows::Delete(const std::string& table, const StoredRow& key) {
    Prepared& remove =
        statement("delete from " + quoted(table) + firstMatching(db_, table, key, 1));
    remove.BindAll(key, 1);
    remove.Step();
}

}  // namespace platform
