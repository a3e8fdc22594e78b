#include "DatabaseCopy.h"

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "Records.h"
#include "RowStream.h"
#include "Schema.h"
#include "TableInserter.h"

namespace store {
namespace {

long long rowCount(platform::Database& db, const std::string& table) {
    platform::RowStream rows(db, "select count(*) from " + table);
    return rows.Next() ? rows.Value(0).toInteger() : 0;
}

// The rows of one table, column by column of the schema, in the order the source reads them.
long long copyTable(platform::Database& source, platform::Database& target,
                    const platform::TableColumns& table) {
    std::string columns;
    for (const auto& c : table.columns) columns += (columns.empty() ? "" : ", ") + c;
    TableInserter out(target, table.table, table.columns);
    platform::RowStream in(source);
    in.OpenLong("select " + columns + " from " + table.table);
    long long copied = 0;
    while (in.Next()) {
        std::vector<platform::Variant> row;
        row.reserve(table.columns.size());
        for (int i = 0; i < in.ColumnCount(); ++i) row.push_back(in.Value(i));
        out.Insert(std::move(row));
        ++copied;
    }
    return copied;
}

}  // namespace

void CopyDatabase(const std::string& from, const std::string& to, std::ostream& progress) {
    auto source = OpenDataFile(from);
    const auto tables = platform::TablesOfScript(SchemaDdl());
    CreateDatabaseFile(to, [&](platform::Database& target) {
        // Named once open: a location that holds a password is refused before it is shown.
        progress << "Copying " << source->Describe() << " to " << target.Describe() << "\n";
        target.BeginTrans();
        for (const auto& table : tables) {
            const long long copied = copyTable(*source, target, table);
            progress << "  " << table.table << ": " << copied << " rows\n" << std::flush;
        }
        for (const auto& table : tables) {
            const long long was = rowCount(*source, table.table);
            const long long now = rowCount(target, table.table);
            if (was != now)
                throw Refused("The copy of " + table.table + " holds " +
                              platform::NumberToText(now) + " rows instead of " +
                              platform::NumberToText(was) + ": nothing was copied.");
        }
        target.CommitTrans();
        progress << "Row counts checked: every table holds what the source holds.\n";
        // A server plans from statistics its background analysis gathers only later; until
        // then an export of the copy sorts on disk what its keys give in order.
        if (target.server())
            for (const auto& table : tables) target.ExecuteNative("ANALYZE " + table.table);
    });
}

}  // namespace store
