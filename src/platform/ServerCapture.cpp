// Row changes on a server, taken by triggers into a table of the session's own.
#include "ServerCapture.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cstdlib>
#include <map>

#include "Conversions.h"
#include "PgConnection.h"
#include "SqlHooks.h"

namespace platform {

namespace {

constexpr const char* kFunction = R"sql(
CREATE OR REPLACE FUNCTION dataloader_capture() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF current_setting('dataloader.capture', true) = 'on' THEN
        INSERT INTO pg_temp.dataloader_changes (table_name, operation, old_row, new_row)
        VALUES (TG_TABLE_NAME, TG_OP,
                CASE WHEN TG_OP <> 'INSERT' THEN to_jsonb(OLD) END,
                CASE WHEN TG_OP <> 'DELETE' THEN to_jsonb(NEW) END);
    END IF;
    RETURN NULL;
END $$)sql";

StoredValue fromText(std::string_view text, ColumnKind kind) {
    StoredValue v;
    switch (kind) {
        case ColumnKind::Integer:
            v.kind = StoredValue::Class::Integer;
            std::from_chars(text.data(), text.data() + text.size(), v.integer);
            break;
        case ColumnKind::Boolean:
            v.kind = StoredValue::Class::Integer;
            v.integer = !text.empty() && (text[0] == 't' || text[0] == '1');
            break;
        case ColumnKind::Real:
            v.kind = StoredValue::Class::Real;
            v.real = std::strtod(std::string(text).c_str(), nullptr);
            break;
        default:
            v.kind = StoredValue::Class::Text;
            v.bytes.assign(text);
            // JSON writes a timestamp with a T; the server's own text has a blank.
            if (kind == ColumnKind::Date && v.bytes.size() > 10 && v.bytes[10] == 'T')
                v.bytes[10] = ' ';
            break;
    }
    return v;
}

StoredValue fromJson(const QJsonValue& json, ColumnKind kind) {
    if (json.isNull() || json.isUndefined()) return {};
    if (json.isBool()) return StoredValue::Int(json.toBool() ? 1 : 0);
    if (json.isString()) return fromText(json.toString().toStdString(), kind);
    if (kind == ColumnKind::Real) return {StoredValue::Class::Real, 0, json.toDouble(), {}};
    return StoredValue::Int(json.toInteger());
}

std::vector<StoredValue> rowOf(const PgResult& r, int row, int column, const ServerColumns& cols) {
    std::vector<StoredValue> values;
    if (r.isNull(row, column)) return values;
    const QJsonObject object =
        QJsonDocument::fromJson(QByteArray(r.text(row, column).data(),
                                           static_cast<qsizetype>(r.text(row, column).size())))
            .object();
    for (std::size_t i = 0; i < cols.names.size(); ++i)
        values.push_back(
            fromJson(object.value(QString::fromStdString(cols.names[i])), cols.kinds[i]));
    return values;
}

}  // namespace

namespace {

// The tables but the one named by its parameter that lack the capture trigger.
constexpr const char* kLackingTrigger =
    "select c.relname from pg_class c where c.relnamespace = "
    "current_schema()::regnamespace and c.relkind in ('r', 'p') and c.relname <> lower($1) "
    "and not exists (select 1 from pg_trigger t where t.tgrelid = c.oid and "
    "t.tgname = 'dataloader_capture')";

void addTrigger(PgConnection& pg, const PgResult& bare) {
    if (bare.rows() > 0) pg.exec(kFunction);
    for (int i = 0; i < bare.rows(); ++i)
        pg.exec("create trigger dataloader_capture after insert or update or delete on " +
                QuotedName(std::string(bare.text(i, 0))) +
                " for each row execute function dataloader_capture()");
}

}  // namespace

void InstallServerCapture(PgConnection& pg, const std::string& ignored) {
    addTrigger(pg, pg.exec(kLackingTrigger, {ignored}));
}

void StartServerCapture(PgConnection& pg, const std::string& ignored) {
    // Tables without the trigger get it: made since, or by another program. Asked in the
    // same round trip that starts the capture, as a save pays for every one.
    addTrigger(pg, pg.execPipeline({{"set local client_min_messages = warning", {}},
                                    {"create temp table if not exists dataloader_changes "
                                     "(change_id bigserial, table_name text, operation text, "
                                     "old_row jsonb, new_row jsonb)",
                                     {}},
                                    {"select set_config('dataloader.capture', 'on', true)", {}},
                                    {kLackingTrigger, {ignored}}}));
}

void StopServerCapture(PgConnection& pg) {
    pg.exec("select set_config('dataloader.capture', 'off', true)");
}

ServerColumns ServerColumnsOf(PgConnection& pg, const std::string& table) {
    ServerColumns out;
    const PgResult r = pg.exec("select * from " + QuotedName(table) + " limit 0");
    const auto columns = pg.columns(r);
    for (const ResultColumn& c : *columns) {
        out.names.push_back(c.name);
        out.kinds.push_back(c.kind);
    }
    return out;
}

std::vector<RawChange> TakeServerChanges(PgConnection& pg, const std::string& ignored) {
    const PgResult r = pg.exec(
        "with taken as (delete from pg_temp.dataloader_changes returning *) select table_name, "
        "operation, old_row::text, new_row::text from taken order by change_id");
    std::map<std::string, ServerColumns> columns;
    std::vector<RawChange> changes;
    for (int i = 0; i < r.rows(); ++i) {
        const std::string table(r.text(i, 0));
        if (EqualsNoCase(table, ignored)) continue;
        auto known = columns.find(table);
        if (known == columns.end())
            known = columns.emplace(table, ServerColumnsOf(pg, table)).first;
        const std::string_view op = r.text(i, 1);
        changes.push_back({op == "INSERT"   ? RowChange::Kind::Insert
                           : op == "DELETE" ? RowChange::Kind::Delete
                                            : RowChange::Kind::Update,
                           table, rowOf(r, i, 2, known->second), rowOf(r, i, 3, known->second)});
    }
    return changes;
}

StoredValue ServerStoredValue(const PgResult& result, int row, int column, ColumnKind kind) {
    return result.isNull(row, column) ? StoredValue{} : fromText(result.text(row, column), kind);
}

std::optional<std::string> ServerParam(const StoredValue& v) {
    switch (v.kind) {
        case StoredValue::Class::Null:
            return std::nullopt;
        case StoredValue::Class::Integer:
            return std::to_string(v.integer);
        case StoredValue::Class::Real: {
            char buffer[32];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, v.real).ptr;
            return std::string(buffer, end);
        }
        default:
            return v.bytes;
    }
}

}  // namespace platform
