#include "DatabaseCopy.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "FieldCoding.h"
#include "Journal.h"
#include "Records.h"
#include "Review.h"
#include "RowStream.h"
#include "Schema.h"
#include "ServerCapture.h"
#include "SqlHooks.h"
#include "Statement.h"
#include "StoredRows.h"
#include "TableInserter.h"

namespace store {
namespace {

// The most bytes of a name a server keeps; a longer one it cuts short.
constexpr std::size_t kServerNameBytes = 63;
// Tables of up to this many rows are read back and compared value by value.
constexpr long long kComparedRows = 100000;

std::string rows(long long n) { return std::to_string(n) + (n == 1 ? " row" : " rows"); }

std::string quotedList(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + platform::QuotedName(n);
    return out;
}

// The program's queries name tables and columns unquoted, which a server folds to lower case.
std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool startsWith(const std::string& text, const std::string& head) {
    return text.size() >= head.size() && platform::EqualsNoCase(text.substr(0, head.size()), head);
}

struct Column {
    std::string name, type;
    bool notNull = false;
};

struct Table {
    std::string name;  // as the source spells it
    std::vector<Column> columns;
    std::vector<std::string> key;
    std::vector<std::vector<std::string>> uniques;  // a file's UNIQUE constraints
    std::string sql;                                // a file's own CREATE TABLE
    bool isVirtual = false;
};

struct Index {
    std::string name, table, sql;
    bool unique = false;
    std::vector<std::string> columns;  // empty for an index on an expression or a part
};

struct Named {
    std::string name, sql;
};

// What a database holds besides its rows.
struct Inventory {
    std::vector<Table> tables;
    std::vector<Index> indexes;
    std::vector<Named> views, triggers;
    std::vector<std::string> uncopiable;  // in words, for the refusal
};

std::vector<std::string> names(platform::Database& db, const std::string& sql,
                               const std::vector<platform::Variant>& values) {
    std::vector<std::string> out;
    platform::RowStream rows(db, sql, values);
    while (rows.Next()) out.push_back(rows.Value(0).toText());
    return out;
}

Inventory fileInventory(platform::Database& db) {
    struct Object {
        std::string type, name, table, sql;
    };
    std::vector<Object> objects;
    {
        // SQLite's own tables (sqlite_sequence, sqlite_stat1) are remade by the target itself.
        platform::RowStream rows(db,
                                 "select type, name, tbl_name, sql from sqlite_master where "
                                 "lower(substr(name, 1, 7)) <> ? order by rowid",
                                 {std::string("sqlite_")});
        while (rows.Next())
            objects.push_back({rows.Value(0).toText(), rows.Value(1).toText(),
                               rows.Value(2).toText(), rows.Value(3).toText()});
    }
    Inventory inv;
    for (const auto& o : objects) {
        if (o.type == "table") {
            Table t{o.name, {}, {}, {}, o.sql, startsWith(o.sql, "create virtual")};
            if (!t.isVirtual) {
                std::vector<std::pair<long long, std::string>> key;
                platform::RowStream cols(
                    db, "select name, type, \"notnull\", pk from pragma_table_info(?)", {o.name});
                while (cols.Next()) {
                    t.columns.push_back({cols.Value(0).toText(), cols.Value(1).toText(),
                                         cols.Value(2).toInteger() != 0});
                    if (cols.Value(3).toInteger() > 0)
                        key.emplace_back(cols.Value(3).toInteger(), t.columns.back().name);
                }
                std::sort(key.begin(), key.end());
                for (auto& k : key) t.key.push_back(k.second);
                for (const auto& unique :
                     names(db, "select name from pragma_index_list(?) where origin = ?",
                           {o.name, std::string("u")}))
                    t.uniques.push_back(names(
                        db, "select name from pragma_index_info(?) order by seqno", {unique}));
            }
            inv.tables.push_back(std::move(t));
        } else if (o.type == "index" && !o.sql.empty()) {
            Index index{o.name, o.table, o.sql, false, {}};
            bool plain = true;
            {
                platform::RowStream list(
                    db, "select \"unique\", partial from pragma_index_list(?) where name = ?",
                    {o.table, o.name});
                if (list.Next()) {
                    index.unique = list.Value(0).toInteger() != 0;
                    plain = list.Value(1).toInteger() == 0;
                }
            }
            platform::RowStream cols(
                db,
                "select cid, name, \"desc\" from pragma_index_xinfo(?) where key order by seqno",
                {o.name});
            while (cols.Next()) {
                if (cols.Value(0).toInteger() < 0 || cols.Value(2).toInteger() != 0) plain = false;
                index.columns.push_back(cols.Value(1).toText());
            }
            if (!plain) index.columns.clear();
            inv.indexes.push_back(std::move(index));
        } else if (o.type == "view") {
            inv.views.push_back({o.name, o.sql});
        } else if (o.type == "trigger") {
            inv.triggers.push_back({o.name, o.sql});
        }
    }
    return inv;
}

// The relation of that name in the schema the connection works in.
constexpr const char* kRelation =
    "(select oid from pg_class where relname = ? and relnamespace = "
    "current_schema()::regnamespace)";

Inventory serverInventory(platform::Database& db) {
    Inventory inv;
    std::vector<std::pair<std::string, std::string>> relations;
    {
        platform::RowStream rows(
            db,
            "select relname, relkind::text from pg_class where relnamespace = "
            "current_schema()::regnamespace and relkind::text in (?, ?, ?, ?, ?) and not "
            "relispartition order by oid",
            {std::string("r"), std::string("p"), std::string("v"), std::string("m"),
             std::string("f")});
        while (rows.Next()) relations.emplace_back(rows.Value(0).toText(), rows.Value(1).toText());
    }
    for (const auto& [name, kind] : relations) {
        if (kind == "m" || kind == "f") {
            inv.uncopiable.push_back(
                (kind == "m" ? "the materialized view " : "the foreign table ") + name);
        } else if (kind == "v") {
            std::string def =
                names(db, std::string("select pg_get_viewdef(") + kRelation + ")", {name}).front();
            while (!def.empty() &&
                   (def.back() == ';' || std::isspace(static_cast<unsigned char>(def.back()))))
                def.pop_back();
            inv.views.push_back({name, "CREATE VIEW " + platform::QuotedName(name) + " AS" + def});
        } else {
            Table t{name, {}, {}, {}, {}, false};
            platform::RowStream cols(db,
                                     std::string("select attname, format_type(atttypid, "
                                                 "atttypmod), attnotnull from pg_attribute where "
                                                 "attrelid = ") +
                                         kRelation +
                                         " and attnum > 0 and not attisdropped order by attnum",
                                     {name});
            while (cols.Next())
                t.columns.push_back(
                    {cols.Value(0).toText(), cols.Value(1).toText(), cols.Value(2).toBool()});
            t.key =
                names(db,
                      std::string("select a.attname from pg_index i join pg_attribute a on "
                                  "a.attrelid = i.indrelid and a.attnum = any(i.indkey) where "
                                  "i.indisprimary and i.indrelid = ") +
                          kRelation + " order by array_position(i.indkey::smallint[], a.attnum)",
                      {name});
            inv.tables.push_back(std::move(t));
        }
    }
    struct Found {
        std::string name, table;
        bool unique, plain;
    };
    std::vector<Found> found;
    {
        platform::RowStream rows(
            db,
            "select ic.relname, tc.relname, i.indisunique, i.indexprs is null and i.indpred is "
            "null and not exists (select 1 from unnest(i.indoption) o where o <> 0) from pg_index "
            "i join pg_class ic on ic.oid = i.indexrelid join pg_class tc on tc.oid = i.indrelid "
            "where tc.relnamespace = current_schema()::regnamespace and not i.indisprimary and "
            "tc.relkind::text in (?, ?) order by ic.oid",
            {std::string("r"), std::string("p")});
        while (rows.Next())
            found.push_back({rows.Value(0).toText(), rows.Value(1).toText(), rows.Value(2).toBool(),
                             rows.Value(3).toBool()});
    }
    for (const auto& f : found) {
        Index index{f.name, f.table, {}, f.unique, {}};
        if (f.plain)
            index.columns = names(db,
                                  std::string("select a.attname from pg_index i cross join "
                                              "unnest(i.indkey::smallint[]) with ordinality k(n, "
                                              "at) join pg_attribute a on a.attrelid = i.indrelid "
                                              "and a.attnum = k.n where i.indexrelid = ") +
                                      kRelation + " order by k.at",
                                  {f.name});
        inv.indexes.push_back(std::move(index));
    }
    for (const auto& t :
         names(db,
               "select t.tgname from pg_trigger t join pg_class c on c.oid = t.tgrelid where "
               "c.relnamespace = current_schema()::regnamespace and not t.tgisinternal and "
               "t.tgname <> ? order by t.oid",
               {std::string("dataloader_capture")}))
        inv.triggers.push_back({t, {}});
    return inv;
}

// A file's declared type as a server column's: the schema's own mapping (ServerScript)
// where the server knows the name, else the nearest by what the type holds.
std::string typeForServer(const std::string& declared) {
    static const char* known[] = {"INTEGER", "INT",      "BIGINT",    "SMALLINT", "REAL",
                                  "TEXT",    "DATETIME", "DATE",      "BOOLEAN",  "NUMERIC",
                                  "DECIMAL", "VARCHAR",  "CHARACTER", "CHAR",     "TIMESTAMP",
                                  "TIME",    "FLOAT"};
    const std::string upper = upperAscii(declared);
    const std::string head = upper.substr(0, upper.find_first_of(" (")).c_str();
    for (const char* k : known)
        if (head == k) return upper;
    switch (platform::KindOfDeclaredType(declared.c_str())) {
        case platform::ColumnKind::Integer:
            return "BIGINT";
        case platform::ColumnKind::Real:
            return "REAL";
        case platform::ColumnKind::Date:
            return "DATETIME";
        case platform::ColumnKind::Boolean:
            return "BOOLEAN";
        default:
            return "TEXT";
    }
}

// A server's type as a file declares it, the schema's mapping taken back.
std::string typeForFile(const std::string& server) {
    const std::string t = lowerAscii(server);
    if (startsWith(t, "timestamp")) return "DATETIME";
    if (t == "double precision" || t == "real") return "REAL";
    if (t == "text") return "TEXT";
    if (startsWith(t, "character varying")) return "VARCHAR" + t.substr(17);
    if (startsWith(t, "time")) return "TIME";
    if (t == "bytea") return "BLOB";
    for (const char* same :
         {"integer", "bigint", "smallint", "boolean", "date", "numeric", "character"})
        if (startsWith(t, same)) return upperAscii(t);
    return "TEXT";
}

// A copy from one database to another: what it makes and in what words.
class Copy {
  public:
    Copy(platform::Database& source, const std::string& to)
        : source_(source),
          fromServer_(source.server() != nullptr),
          toServer_(platform::IsServerLocation(to)),
          verbatim_(!fromServer_ && !toServer_),
          inventory_(fromServer_ ? serverInventory(source) : fileInventory(source)) {
        order();
        if (fromServer_ && !toServer_)
            for (auto& v : inventory_.views) v.sql = platform::WithoutServerCasts(v.sql);
    }

    // What the target cannot take, in words; empty when all of it can go.
    std::vector<std::string> Uncopiable() const {
        std::vector<std::string> out = inventory_.uncopiable;
        for (const auto& t : inventory_.tables)
            if (t.isVirtual)
                out.push_back("the virtual table " + t.name +
                              " (its rows live in its module's own tables)");
        if (!verbatim_)
            for (const auto& t : inventory_.triggers)
                out.push_back("the trigger " + t.name +
                              " (its body is written for the database that holds it)");
        if (!verbatim_)
            for (const auto& i : inventory_.indexes)
                if (i.columns.empty())
                    out.push_back("the index " + i.name +
                                  " (on an expression, part of its table or in descending order)");
        if (toServer_) {
            auto tooLong = [&](const std::string& name, const std::string& what) {
                if (name.size() > kServerNameBytes)
                    out.push_back(what + " (a server keeps names of up to 63 bytes)");
            };
            for (const auto& t : inventory_.tables) {
                tooLong(t.name, "the table " + t.name);
                for (const auto& c : t.columns)
                    tooLong(c.name, "the column " + c.name + " of " + t.name);
            }
            for (const auto& v : inventory_.views) tooLong(v.name, "the view " + v.name);
            for (const auto& i : inventory_.indexes) tooLong(i.name, "the index " + i.name);
        }
        return out;
    }

    void Into(platform::Database& target, std::ostream& progress) {
        target.BeginTrans();
        for (const auto& t : inventory_.tables) makeTable(target, t);
        for (const auto& v : inventory_.views) made(target, "view", v);
        for (const auto& t : inventory_.tables) {
            const long long copied = copyRows(target, t);
            progress << "  " << shownName(t) << ": " << rows(copied) << "\n" << std::flush;
        }
        std::string indexes;
        for (const auto& i : inventory_.indexes)
            if (makeIndex(target, i)) indexes += (indexes.empty() ? "" : ", ") + i.name;
        if (verbatim_ && source_.TableExists("sqlite_sequence")) {
            // An AUTOINCREMENT table goes on from the highest number it ever gave, as there.
            platform::RowStream given(source_, "select name, seq from sqlite_sequence");
            while (given.Next()) {
                target.Execute("delete from sqlite_sequence where name = ?", {given.Value(0)});
                target.Execute("insert into sqlite_sequence (name, seq) values (?, ?)",
                               {given.Value(0), given.Value(1)});
            }
        }
        for (const auto& t : inventory_.triggers) made(target, "trigger", t);
        if (!inventory_.views.empty()) progress << "  views: " << listed(inventory_.views) << "\n";
        if (!indexes.empty()) progress << "  indexes: " << indexes << "\n";
        if (!inventory_.triggers.empty())
            progress << "  triggers: " << listed(inventory_.triggers) << "\n";
        if (target.server()) {
            // Rows came with their numbers: the server's own numbering goes on after them.
            if (hasJournal_) {
                platform::RowStream numbered(
                    target,
                    std::string("select setval(pg_get_serial_sequence(?, ?), max(change_id)) "
                                "from ") +
                        table::Journal,
                    {std::string(table::Journal), std::string("change_id")});
                numbered.Next();
            }
            // The journal captures changes of every table, the office's own too.
            platform::InstallServerCapture(*target.server(), table::Journal);
        }
        std::string report;
        for (const auto& t : inventory_.tables) {
            const long long was = rowCount(source_, platform::QuotedName(t.name));
            const long long now = rowCount(target, platform::QuotedName(targetName(t)));
            if (was != now)
                throw Refused("The copy of " + shownName(t) + " holds " +
                              platform::NumberToText(now) + " rows instead of " +
                              platform::NumberToText(was) + ": nothing was copied.");
            report += "  " + shownName(t) + ": " + rows(now);
            if (now > kComparedRows) {
                report += " (counted; too many to compare value by value)\n";
                continue;
            }
            std::vector<std::string> from, to;
            for (const auto& c : t.columns) {
                from.push_back(c.name);
                to.push_back(targetName(c.name));
            }
            if (digest(source_, t.name, from) != digest(target, targetName(t), to))
                throw Refused("The copy of " + shownName(t) +
                              " does not hold the values the source holds: nothing was copied.");
            report += "\n";
        }
        target.CommitTrans();
        progress << "Checked: each of the " << inventory_.tables.size()
                 << " tables holds what the source holds, row for row:\n"
                 << report;
        // A server plans from statistics its background analysis gathers only later; until
        // then an export of the copy sorts on disk what its keys give in order.
        if (target.server())
            for (const auto& t : inventory_.tables)
                target.ExecuteNative("ANALYZE " + platform::QuotedName(targetName(t)));
    }

  private:
    // The program's tables first, in the schema's order, then the journal, then the rest.
    void order() {
        std::vector<Table> ordered;
        auto take = [&](const std::string& name) -> Table* {
            for (auto& t : inventory_.tables)
                if (!t.name.empty() && platform::EqualsNoCase(t.name, name)) {
                    ordered.push_back(std::move(t));
                    t.name.clear();
                    return &ordered.back();
                }
            return nullptr;
        };
        for (const char* ddl : {SchemaDdl(), ReviewDdl(), ParameterPairsDdl()})
            for (const auto& s : platform::TablesOfScript(ddl))
                if (take(s.table)) schemaNames_.push_back(s.table);
        hasJournal_ = take(table::Journal) != nullptr;
        for (auto& t : inventory_.tables)
            if (!t.name.empty()) ordered.push_back(std::move(t));
        inventory_.tables = std::move(ordered);
    }

    const std::string* schemaName(const Table& t) const {
        for (const auto& s : schemaNames_)
            if (platform::EqualsNoCase(s, t.name)) return &s;
        return nullptr;
    }
    bool isJournal(const Table& t) const { return platform::EqualsNoCase(t.name, table::Journal); }
    std::string shownName(const Table& t) const {
        const std::string* s = schemaName(t);
        return s ? *s : t.name;
    }
    std::string targetName(const std::string& name) const {
        return toServer_ ? lowerAscii(name) : name;
    }
    std::string targetName(const Table& t) const { return targetName(shownName(t)); }

    std::string typeOf(const Column& c) const {
        if (toServer_ && !fromServer_) return typeForServer(c.type);
        if (fromServer_ && !toServer_) return typeForFile(c.type);
        return c.type;
    }

    static std::string listed(const std::vector<Named>& objects) {
        std::string out;
        for (const auto& o : objects) out += (out.empty() ? "" : ", ") + o.name;
        return out;
    }

    // The rows as a sum of their hashes, which no order of reading changes: a server and a
    // file sort text differently.
    static unsigned long long digest(platform::Database& db, const std::string& table,
                                     const std::vector<std::string>& columns) {
        platform::RowStream rows(db);
        rows.OpenLong("select " + quotedList(columns) + " from " + platform::QuotedName(table));
        unsigned long long sum = 0;
        std::string text;
        while (rows.Next()) {
            text.clear();
            for (int i = 0; i < rows.ColumnCount(); ++i) {
                const platform::Variant v = rows.Value(i);
                text += v.isNull() ? '\1' : '\2';
                if (!v.isNull()) text += v.toText();
            }
            sum += std::hash<std::string>{}(text);
        }
        return sum;
    }

    static long long rowCount(platform::Database& db, const std::string& table) {
        platform::RowStream rows(db, "select count(*) from " + table);
        return rows.Next() ? rows.Value(0).toInteger() : 0;
    }

    void makeTable(platform::Database& target, const Table& t) {
        const std::string name = targetName(t);
        try {
            if (isJournal(t)) {
                MakeJournal(target);
            } else if (!schemaName(t)) {
                if (holds(target, "table", name))
                    throw Refused("The " + target.Describe() + " already holds a table " + name +
                                  ": a copy goes into a new database.");
                target.ExecuteNative(verbatim_ ? t.sql : createTable(t));
                return;
            }
            // The office may have added columns to the program's tables.
            const std::vector<std::string> have = target.ColumnNames(name);
            for (const auto& c : t.columns) {
                const bool there = std::any_of(have.begin(), have.end(), [&](const auto& h) {
                    return platform::EqualsNoCase(h, c.name);
                });
                if (!there)
                    target.ExecuteNative("ALTER TABLE " + platform::QuotedName(name) +
                                         " ADD COLUMN " + platform::QuotedName(targetName(c.name)) +
                                         " " + serverTyped(c));
            }
        } catch (const platform::EngineError& e) {
            throw Refused("The table " + shownName(t) + " cannot be made at " + target.Describe() +
                          ": " + e.Description() + " Nothing was copied.");
        }
    }

    // A column's type as the target writes it: ALTER is no CREATE, so ServerScript's
    // mapping is applied here.
    std::string serverTyped(const Column& c) const {
        const std::string type = typeOf(c);
        if (!toServer_) return type;
        const std::string mapped = platform::ServerScript("CREATE " + type);
        return mapped.substr(7);
    }

    std::string createTable(const Table& t) const {
        std::string sql = "CREATE TABLE " + platform::QuotedName(targetName(t)) + " (";
        for (std::size_t i = 0; i < t.columns.size(); ++i) {
            const Column& c = t.columns[i];
            sql += (i ? ", " : "") + platform::QuotedName(targetName(c.name)) + " " + typeOf(c) +
                   (c.notNull ? " NOT NULL" : "");
        }
        auto targetNames = [&](const std::vector<std::string>& names) {
            std::vector<std::string> out;
            for (const auto& n : names) out.push_back(targetName(n));
            return quotedList(out);
        };
        if (!t.key.empty()) sql += ", PRIMARY KEY (" + targetNames(t.key) + ")";
        for (const auto& u : t.uniques) sql += ", UNIQUE (" + targetNames(u) + ")";
        return sql + ")";
    }

    // Whether the target already holds a table or index of that name, by the catalogue: a
    // name an office chose may need quotes.
    static bool holds(platform::Database& target, const std::string& type,
                      const std::string& name) {
        return target.server()
                   ? !names(target,
                            "select 1 from pg_class where relkind::text = ? and relname = ? and "
                            "relnamespace = current_schema()::regnamespace",
                            {std::string(type == "index" ? "i" : "r"), name})
                          .empty()
                   : !names(target,
                            "select 1 from sqlite_master where type = ? and name = ? collate "
                            "nocase",
                            {type, name})
                          .empty();
    }

    // Makes a view or trigger as the source words it; refused, naming it, when the target
    // does not take those words.
    static void made(platform::Database& target, const char* kind, const Named& object) {
        try {
            target.ExecuteNative(object.sql);
        } catch (const platform::EngineError& e) {
            throw Refused("The " + std::string(kind) + " " + object.name + " cannot be made at " +
                          target.Describe() + ": " + e.Description() + " Nothing was copied.");
        }
    }

    // Whether the index was made: the program's own come with its tables.
    bool makeIndex(platform::Database& target, const Index& i) {
        const std::string name = targetName(i.name);
        const bool there = holds(target, "index", name);
        if (there) return false;
        std::vector<std::string> columns;
        for (const auto& c : i.columns) columns.push_back(targetName(c));
        made(target, "index",
             {i.name, verbatim_ ? i.sql
                                : std::string("CREATE ") + (i.unique ? "UNIQUE " : "") + "INDEX " +
                                      platform::QuotedName(name) + " ON " +
                                      platform::QuotedName(targetName(i.table)) + " (" +
                                      quotedList(columns) + ")"});
        return true;
    }

    long long copyRows(platform::Database& target, const Table& t) {
        std::vector<std::string> from, to;
        for (const auto& c : t.columns) {
            from.push_back(c.name);
            to.push_back(targetName(c.name));
        }
        const std::string read =
            "select " + quotedList(from) + " from " + platform::QuotedName(t.name);
        long long copied = 0;
        try {
            if (verbatim_) {
                // File to file: every value as stored, whatever its column declares.
                platform::Statement in(source_, read);
                platform::RowInserter out(target, targetName(t), to);
                for (bool row = in.Step(); row; row = in.Next()) {
                    out.Insert(in.Row().values);
                    ++copied;
                }
                return copied;
            }
            std::vector<std::string> quotedTo;
            for (const auto& c : to) quotedTo.push_back(platform::QuotedName(c));
            TableInserter out(target, platform::QuotedName(targetName(t)), quotedTo);
            platform::RowStream in(source_);
            in.OpenLong(read);
            while (in.Next()) {
                std::vector<platform::Variant> row;
                row.reserve(to.size());
                for (int i = 0; i < in.ColumnCount(); ++i) row.push_back(in.Value(i));
                out.Insert(std::move(row));
                ++copied;
            }
        } catch (const platform::EngineError& e) {
            throw Refused("Row " + platform::NumberToText(copied + 1) + " of " + shownName(t) +
                          " cannot be copied to " + target.Describe() + ": " + e.Description() +
                          " Nothing was copied.");
        }
        return copied;
    }

    platform::Database& source_;
    bool fromServer_, toServer_, verbatim_;
    Inventory inventory_;
    std::vector<std::string> schemaNames_;
    bool hasJournal_ = false;
};

}  // namespace

void CopyDatabase(const std::string& from, const std::string& to, std::ostream& progress) {
    auto source = OpenDataFile(from);
    Copy copy(*source, to);
    if (const auto cannot = copy.Uncopiable(); !cannot.empty()) {
        std::string text;
        for (const auto& c : cannot) text += (text.empty() ? "" : "; ") + c;
        throw Refused("Nothing was copied: the copy cannot take " + text + ".");
    }
    CreateDatabaseFile(to, [&](platform::Database& target) {
        // Named once open: a location that holds a password is refused before it is shown.
        progress << "Copying " << source->Describe() << " to " << target.Describe() << "\n";
        copy.Into(target, progress);
    });
}

}  // namespace store
