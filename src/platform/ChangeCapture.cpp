// Row changes as SQLite reports them before it writes each row (its pre-update hook), so the
// values are the stored ones, storage class and all, whichever statement wrote them.
#include "ChangeCapture.h"

// The hook's declarations are behind this switch; Debian's SQLite is built with the hook.
#define SQLITE_ENABLE_PREUPDATE_HOOK
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string_view>

#include "Conversions.h"
#include "Database.h"
#include "ServerCapture.h"
#include "SqliteErrors.h"

namespace platform {

struct ChangeCapture::Pending {
    std::string ignored;
    bool utf8 = false;  // the file's text encoding
    using Raw = RawChange;
    std::vector<Raw> rows;
};

namespace {

// Where the file is UTF-8, a text's bytes are read as a blob: sqlite3_value_text would make
// a terminated copy of each text inside the record first.
StoredValue captured(sqlite3_value* value, bool utf8) {
    if (!utf8 || sqlite3_value_type(value) != SQLITE_TEXT) return StoredValueOf(value);
    StoredValue v;
    v.kind = StoredValue::Class::Text;
    if (const void* data = sqlite3_value_blob(value))
        v.bytes.assign(static_cast<const char*>(data), sqlite3_value_bytes(value));
    return v;
}

bool isUtf8(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    bool utf8 = false;
    if (sqlite3_prepare_v2(db, "pragma encoding", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        utf8 = std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) ==
               "UTF-8";
    sqlite3_finalize(stmt);
    return utf8;
}

void onChange(void* context, sqlite3* db, int op, const char* schema, const char* table,
              sqlite3_int64, sqlite3_int64) {
    auto& pending = *static_cast<ChangeCapture::Pending*>(context);
    const std::string_view name(table);
    if (std::string_view(schema) != "main" || name.starts_with("sqlite_") ||
        (name.size() == pending.ignored.size() && EqualsNoCase(name, pending.ignored)))
        return;
    ChangeCapture::Pending::Raw raw{op == SQLITE_INSERT   ? RowChange::Kind::Insert
                                    : op == SQLITE_DELETE ? RowChange::Kind::Delete
                                                          : RowChange::Kind::Update,
                                    std::string(name),
                                    {},
                                    {}};
    const int count = sqlite3_preupdate_count(db);
    raw.before.reserve(op != SQLITE_INSERT ? count : 0);
    raw.after.reserve(op != SQLITE_DELETE ? count : 0);
    for (int i = 0; i < count; ++i) {
        sqlite3_value* value = nullptr;
        if (op != SQLITE_INSERT && sqlite3_preupdate_old(db, i, &value) == SQLITE_OK)
            raw.before.push_back(captured(value, pending.utf8));
        if (op != SQLITE_DELETE && sqlite3_preupdate_new(db, i, &value) == SQLITE_OK)
            raw.after.push_back(captured(value, pending.utf8));
    }
    pending.rows.push_back(std::move(raw));
}

using Columns = ChangeCapture::Columns;

// A table's columns, and which of them have REAL affinity (SQLite's rule: a declared type
// naming REAL, FLOA or DOUB and not INT).
Columns columnsOf(Database& db, const std::string& table) {
    Columns out;
    if (db.server()) {
        ServerColumns server = ServerColumnsOf(*db.server(), table);
        for (ColumnKind kind : server.kinds) out.real.push_back(kind == ColumnKind::Real);
        out.names = std::move(server.names);
        return out;
    }
    sqlite3_stmt* stmt = nullptr;
    if (int rc = sqlite3_prepare_v2(
            db.handle(), "select name, upper(type) from pragma_table_info(?1)", -1, &stmt, nullptr);
        rc != SQLITE_OK)
        ThrowSqlite(db.handle(), rc, db.Name());
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        auto has = [&](const char* part) { return type.find(part) != std::string::npos; };
        out.names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        out.real.push_back(!has("INT") && (has("REAL") || has("FLOA") || has("DOUB")));
    }
    sqlite3_finalize(stmt);
    return out;
}

// The hook hands over a new value as it goes to disk, where a whole number in a REAL column
// is kept as an integer; read back, it is a real, and so it is journaled.
void asRead(const Columns& columns, std::vector<StoredValue>& values) {
    for (std::size_t i = 0; i < values.size() && i < columns.real.size(); ++i) {
        StoredValue& v = values[i];
        if (columns.real[i] && v.kind == StoredValue::Class::Integer) {
            v.kind = StoredValue::Class::Real;
            v.real = static_cast<double>(v.integer);
        }
    }
}

StoredRow named(const Columns& columns, const std::vector<StoredValue>& values) {
    StoredRow row;
    const std::size_t n = std::min(values.size(), columns.names.size());
    row.columns.assign(columns.names.begin(), columns.names.begin() + n);
    row.values.assign(values.begin(), values.begin() + n);
    return row;
}

}  // namespace

ChangeCapture::ChangeCapture(Database& db, std::string ignored)
    : db_(db), pending_(std::make_unique<Pending>()) {
    pending_->ignored = std::move(ignored);
    if (db_.server()) {
        StartServerCapture(*db_.server(), pending_->ignored);
        return;
    }
    pending_->utf8 = isUtf8(db_.handle());
    sqlite3_preupdate_hook(db_.handle(), onChange, pending_.get());
}

ChangeCapture::~ChangeCapture() {
    if (!db_.server()) {
        sqlite3_preupdate_hook(db_.handle(), nullptr, nullptr);
        return;
    }
    try {
        StopServerCapture(*db_.server());
    } catch (...) {
        // A lost connection ends the transaction, and the capture with it.
    }
}

void ChangeCapture::Drain(const std::function<void(const Captured&)>& visit) {
    if (db_.server()) pending_->rows = TakeServerChanges(*db_.server(), pending_->ignored);
    std::map<std::string, Columns> columns;
    const std::string* lastTable = nullptr;
    const Columns* known = nullptr;
    for (auto& raw : pending_->rows) {
        if (!lastTable || *lastTable != raw.table) {
            auto found = columns.find(raw.table);
            if (found == columns.end())
                found = columns.emplace(raw.table, columnsOf(db_, raw.table)).first;
            lastTable = &found->first;
            known = &found->second;
        }
        asRead(*known, raw.before);
        asRead(*known, raw.after);
        visit({raw.kind, raw.table, *known, raw.before, raw.after});
    }
    pending_->rows.clear();
}

std::vector<RowChange> ChangeCapture::Take() {
    std::vector<RowChange> changes;
    Drain([&](const Captured& c) {
        changes.push_back({c.kind, c.table, named(c.columns, c.before), named(c.columns, c.after)});
    });
    return changes;
}

}  // namespace platform
