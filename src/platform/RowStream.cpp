#include "RowStream.h"

#include <sqlite3.h>

#include <charconv>

#include "BusyWait.h"
#include "Conversions.h"
#include "Database.h"
#include "DateTime.h"
#include "EngineError.h"
#include "FieldCoding.h"
#include "ServerValues.h"
#include "SqlHooks.h"
#include "SqliteErrors.h"

namespace platform {

void RowStream::Open(const std::string& sql, const std::vector<Variant>& values) {
    open(sql, values, false);
}

void RowStream::OpenLong(const std::string& sql, const std::vector<Variant>& values) {
    open(sql, values, true);
}

void RowStream::open(const std::string& sql, const std::vector<Variant>& values, bool batched) {
    Close();
    columns_.reset();
    if (PgConnection* server = db_.server()) {
        PgParams params;
        params.reserve(values.size());
        for (const Variant& v : values) params.push_back(ServerText(v));
        // Inside a save's transaction a read is a look at a few rows: whole, in one round trip.
        // Another transaction (an export's snapshot, the reads' shared one) takes a cursor.
        const bool whole = !batched || db_.Transaction() != 0;
        cursor_ =
            std::make_unique<PgCursor>(*server, NumberParameters(sql), params,
                                       whole ? PgCursor::Fetch::Whole : PgCursor::Fetch::InBatches);
        serverRows_ = cursor_->rows();
        columns_ = server->columns(*serverRows_);
        serverRow_ = -1;
        return;
    }
    stmt_ = db_.statements().acquire(sql);
    key_ = sql;
    for (size_t i = 0; i < values.size(); ++i) BindValue(stmt_, static_cast<int>(i) + 1, values[i]);
    first_ = true;
}

void RowStream::Close() {
    serverRows_.reset();
    cursor_.reset();
    if (!stmt_) return;
    db_.statements().release(key_, stmt_);
    stmt_ = nullptr;
}

bool RowStream::Next() {
    if (serverRows_) {
        if (++serverRow_ < serverRows_->rows()) return true;
        if (cursor_ && cursor_->next()) {
            serverRows_ = cursor_->rows();
            serverRow_ = 0;
            return true;
        }
        Close();
        return false;
    }
    if (!stmt_) return false;
    const int rc = StepStatement(stmt_);
    if (first_ && (rc == SQLITE_ROW || rc == SQLITE_DONE)) {
        // Read after the first step: a schema change re-prepares the statement there.
        columns_ = db_.statements().columns(stmt_);
        first_ = false;
    }
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        Close();
        return false;
    }
    const std::string message = sqlite3_errmsg(db_.handle());
    Close();
    ThrowSqlite(rc, message, db_.Name());
}

int RowStream::ColumnCount() const { return columns_ ? static_cast<int>(columns_->size()) : 0; }

const std::string& RowStream::ColumnName(int index) const {
    return columns_->at(static_cast<size_t>(index)).name;
}

ColumnKind RowStream::Kind(int index) const {
    return columns_->at(static_cast<size_t>(index)).kind;
}

std::optional<int> RowStream::FindField(std::string_view name) const {
    if (columns_) {
        const auto& columns = *columns_;
        for (size_t i = 0; i < columns.size(); ++i)
            if (EqualsNoCase(columns[i].name, name)) return static_cast<int>(i);
    }
    return std::nullopt;
}

int RowStream::FieldIndex(std::string_view name) const {
    if (auto index = FindField(name)) return *index;
    throw EngineError(err::ItemNotFound,
                      "The query's rows have no column named '" + std::string(name) + "'.");
}

const std::vector<int>& RowStream::FieldIndexes(const std::vector<std::string_view>& names) {
    if (indexedColumns_ != columns_ || indexes_.size() != names.size()) {
        indexes_.clear();
        for (std::string_view name : names) indexes_.push_back(FieldIndex(name));
        indexedColumns_ = columns_;
    }
    return indexes_;
}

Variant RowStream::Value(int index) const {
    const ColumnKind kind = columns_->at(static_cast<size_t>(index)).kind;
    if (serverRows_) {
        if (serverRows_->isNull(serverRow_, index)) return {};
        const std::string_view text = serverRows_->text(serverRow_, index);
        if (kind == ColumnKind::Date)
            if (auto d = DateTime::fromStored(text)) return *d;
        return ServerValue(text, kind);
    }
    sqlite3_value* value = sqlite3_column_value(stmt_, index);
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER: {
            const long long v = sqlite3_value_int64(value);
            return kind == ColumnKind::Boolean ? Variant::fromBool(v != 0) : Variant(v);
        }
        case SQLITE_FLOAT:
            return sqlite3_value_double(value);
        default: {
            const char* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
            const std::string_view text(p ? p : "",
                                        p ? static_cast<size_t>(sqlite3_value_bytes(value)) : 0);
            if (kind == ColumnKind::Date)
                if (auto d = DateTime::fromStored(text)) return *d;
            return std::string(text);
        }
    }
}

// As Value(index).toText(), without making the value: grids and exports read every field.
void RowStream::AppendText(int index, std::string& out) const {
    if (serverRows_) return appendServerText(index, out);
    sqlite3_value* value = sqlite3_column_value(stmt_, index);
    const ColumnKind kind = (*columns_)[static_cast<size_t>(index)].kind;
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return;
        case SQLITE_INTEGER: {
            const long long v = sqlite3_value_int64(value);
            if (kind == ColumnKind::Boolean)
                out += v != 0 ? "True" : "False";
            else
                out += NumberToText(v);
            return;
        }
        case SQLITE_FLOAT:
            out += NumberToText(sqlite3_value_double(value));
            return;
        default: {
            const char* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
            const std::string_view text(p ? p : "",
                                        p ? static_cast<size_t>(sqlite3_value_bytes(value)) : 0);
            if (kind == ColumnKind::Date) {
                if (auto d = DateTime::fromStored(text)) {
                    AppendDateText(*d, out);
                    return;
                }
            }
            out += text;
        }
    }
}

void RowStream::appendServerText(int index, std::string& out) const {
    // A Null arrives as an empty text: nothing to write either way, no need to ask which.
    const std::string_view text = serverRows_->text(serverRow_, index);
    if (text.empty()) return;
    const char* end = text.data() + text.size();
    switch ((*columns_)[static_cast<size_t>(index)].kind) {
        case ColumnKind::Integer: {
            long long n = 0;
            if (std::from_chars(text.data(), end, n).ptr != end) break;
            out += NumberToText(n);
            return;
        }
        case ColumnKind::Real: {
            double r = 0;
            if (std::from_chars(text.data(), end, r).ptr != end) break;
            out += NumberToText(r);
            return;
        }
        case ColumnKind::Boolean:
            if (text != "t" && text != "f") break;
            out += text == "t" ? "True" : "False";
            return;
        case ColumnKind::Date: {
            const auto d = DateTime::fromStored(text);
            if (!d) break;
            AppendDateText(*d, out);
            return;
        }
        default:
            break;
    }
    // Most fields are text, written as sent.
    out += text;
}

}  // namespace platform
