// Row changes as SQLite reports them before it writes each row (its pre-update hook), so the
// values are the stored ones, storage class and all, whichever statement wrote them.
#include "ChangeCapture.h"

// The hook's declarations are behind SQLITE_ENABLE_PREUPDATE_HOOK, which the library's
// CMakeLists defines for every file; Debian's SQLite is built with the hook.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "Conversions.h"
#include "Database.h"
#include "ServerCapture.h"
#include "SqliteErrors.h"

namespace platform {

using Columns = ChangeCapture::Columns;

// The changes packed one after another as the hook sees them, so a row costs no allocation:
// kind, table number, counts of old and new values, then each value's class and contents.
struct ChangeCapture::Pending {
    std::string ignored;
    bool utf8 = false;         // the file's text encoding
    std::vector<char> packed;  // used up to `used`: grown by doubling, never shrunk
    std::size_t used = 0;
    std::vector<std::string> tables;
    std::vector<std::optional<Columns>> columns;  // of each table, read when first drained
    std::size_t lastTable = 0;

    void append(const void* data, std::size_t size) {
        if (used + size > packed.size())
            packed.resize(std::max(2 * packed.size(), used + 4096 + size));
        std::memcpy(packed.data() + used, data, size);
        used += size;
    }
    template <class T>
    void put(T v) {
        append(&v, sizeof v);
    }
    std::uint32_t tableNumber(std::string_view name) {
        if (lastTable < tables.size() && tables[lastTable] == name)
            return static_cast<std::uint32_t>(lastTable);
        auto known = std::find(tables.begin(), tables.end(), name);
        lastTable = static_cast<std::size_t>(known - tables.begin());
        if (known == tables.end()) {
            tables.emplace_back(name);
            columns.emplace_back();
        }
        return static_cast<std::uint32_t>(lastTable);
    }
};

namespace {

// Where the file is UTF-8, a text's bytes are read as a blob: sqlite3_value_text would make
// a terminated copy of each text inside the record first.
void pack(ChangeCapture::Pending& p, sqlite3_value* value) {
    const int type = value ? sqlite3_value_type(value) : SQLITE_NULL;
    p.put(static_cast<std::uint8_t>(type));
    if (type == SQLITE_INTEGER) return p.put(sqlite3_value_int64(value));
    if (type == SQLITE_FLOAT) return p.put(sqlite3_value_double(value));
    if (type == SQLITE_NULL) return;
    const bool plain = type == SQLITE_BLOB || p.utf8;
    const void* data =
        plain ? sqlite3_value_blob(value) : static_cast<const void*>(sqlite3_value_text(value));
    const auto size = static_cast<std::uint32_t>(sqlite3_value_bytes(value));
    p.put(size);
    if (data) p.append(data, size);
}

// Reads back what pack wrote, into values whose strings keep their room from row to row.
class Unpacker {
  public:
    Unpacker(const char* packed, std::size_t size) : at_(packed), end_(packed + size) {}
    bool More() const { return at_ < end_; }
    template <class T>
    T Get() {
        T v;
        std::memcpy(&v, at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    void Values(std::vector<StoredValue>& values, std::size_t count) {
        values.resize(count);
        for (StoredValue& v : values) {
            const auto type = Get<std::uint8_t>();
            switch (type) {
                case SQLITE_INTEGER:
                    v.kind = StoredValue::Class::Integer;
                    v.integer = Get<sqlite3_int64>();
                    break;
                case SQLITE_FLOAT:
                    v.kind = StoredValue::Class::Real;
                    v.real = Get<double>();
                    break;
                case SQLITE_TEXT:
                case SQLITE_BLOB: {
                    v.kind =
                        type == SQLITE_TEXT ? StoredValue::Class::Text : StoredValue::Class::Blob;
                    const auto size = Get<std::uint32_t>();
                    v.bytes.assign(at_, size);
                    at_ += size;
                    break;
                }
                default:
                    v.kind = StoredValue::Class::Null;
            }
        }
    }

  private:
    const char* at_;
    const char* end_;
};

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
    auto& p = *static_cast<ChangeCapture::Pending*>(context);
    const std::string_view name(table);
    if (std::string_view(schema) != "main" || name.starts_with("sqlite_") ||
        (name.size() == p.ignored.size() && EqualsNoCase(name, p.ignored)))
        return;
    const auto kind = op == SQLITE_INSERT   ? RowChange::Kind::Insert
                      : op == SQLITE_DELETE ? RowChange::Kind::Delete
                                            : RowChange::Kind::Update;
    const auto count = static_cast<std::uint16_t>(sqlite3_preupdate_count(db));
    p.put(static_cast<std::uint8_t>(kind));
    p.put(p.tableNumber(name));
    p.put(static_cast<std::uint16_t>(op != SQLITE_INSERT ? count : 0));
    p.put(static_cast<std::uint16_t>(op != SQLITE_DELETE ? count : 0));
    sqlite3_value* value = nullptr;
    if (op != SQLITE_INSERT)
        for (int i = 0; i < count; ++i)
            pack(p, sqlite3_preupdate_old(db, i, &value) == SQLITE_OK ? value : nullptr);
    if (op != SQLITE_DELETE)
        for (int i = 0; i < count; ++i)
            pack(p, sqlite3_preupdate_new(db, i, &value) == SQLITE_OK ? value : nullptr);
}

// A table's columns, and which of them have REAL affinity (SQLite's rule: a declared type
// naming REAL, FLOA or DOUB and not INT).
Columns capturedColumnsOf(Database& db, const std::string& table) {
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
    Pending& p = *pending_;
    auto columnsFor = [&](std::uint32_t table) -> const Columns& {
        auto& known = p.columns[table];
        if (!known) known = capturedColumnsOf(db_, p.tables[table]);
        return *known;
    };
    if (db_.server()) {
        for (RawChange& raw : TakeServerChanges(*db_.server(), p.ignored)) {
            const Columns& columns = columnsFor(p.tableNumber(raw.table));
            asRead(columns, raw.before);
            asRead(columns, raw.after);
            visit({raw.kind, raw.table, columns, raw.before, raw.after});
        }
        return;
    }
    std::vector<StoredValue> before, after;
    for (Unpacker in(p.packed.data(), p.used); in.More();) {
        const auto kind = static_cast<RowChange::Kind>(in.Get<std::uint8_t>());
        const auto table = in.Get<std::uint32_t>();
        const auto olds = in.Get<std::uint16_t>();
        const auto news = in.Get<std::uint16_t>();
        in.Values(before, olds);
        in.Values(after, news);
        const Columns& columns = columnsFor(table);
        asRead(columns, before);
        asRead(columns, after);
        visit({kind, p.tables[table], columns, before, after});
    }
    p.used = 0;
}

std::vector<RowChange> ChangeCapture::Take() {
    std::vector<RowChange> changes;
    Drain([&](const Captured& c) {
        changes.push_back({c.kind, c.table, named(c.columns, c.before), named(c.columns, c.after)});
    });
    return changes;
}

}  // namespace platform
