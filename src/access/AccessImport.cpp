#include "AccessImport.h"

#include <unordered_set>

#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "Journal.h"
#include "Records.h"
#include "RowStream.h"
#include "Schema.h"
#include "TableInserter.h"
#include "TableKeys.h"

namespace accessdb {

namespace {

const SourceTable* findTable(const std::vector<SourceTable>& tables, const std::string& name) {
    for (const auto& t : tables)
        if (platform::EqualsNoCase(t.name, name)) return &t;
    return nullptr;
}

int findColumn(const SourceTable& table, const std::string& name) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (platform::EqualsNoCase(table.columns[i].name, name)) return static_cast<int>(i);
    return -1;
}

// The keys a table holds, as text, so the file's values compare whatever type the file
// gave them (a sample code stored as a real 12 is the database's whole number 12).
class TakenKeys {
  public:
    TakenKeys(platform::Database& db, const TableCopy& t)
        : names_(platform::KeyColumns(db, t.table)) {
        for (const auto& name : names_) {
            int index = -1;
            for (const auto& [column, schemaName] : t.columns)
                if (schemaName == name) index = column;
            indexes_.push_back(index);
        }
        if (names_.empty()) return;
        std::string select;
        for (const auto& name : names_) select += (select.empty() ? "" : ", ") + name;
        platform::RowStream stream(db);
        stream.OpenLong("select " + select + " from " + t.table);
        while (stream.Next()) {
            std::string key;
            for (std::size_t i = 0; i < names_.size(); ++i) {
                if (i > 0) key += '\x1f';
                stream.AppendText(static_cast<int>(i), key);
            }
            keys_.insert(std::move(key));
        }
    }

    // True when the row's key is taken; else takes it, so a later row of the file with the
    // same key is caught too.
    bool Take(const Row& row) {
        if (names_.empty()) return false;
        std::string key;
        for (std::size_t i = 0; i < indexes_.size(); ++i) {
            if (i > 0) key += '\x1f';
            if (indexes_[i] >= 0) key += row[static_cast<std::size_t>(indexes_[i])].toText();
        }
        return !keys_.insert(std::move(key)).second;
    }

    std::string Describe(const Row& row) const {
        std::string text;
        for (std::size_t i = 0; i < names_.size(); ++i) {
            text += (i > 0 ? ", " : "") + names_[i] + " ";
            text += indexes_[i] >= 0 ? row[static_cast<std::size_t>(indexes_[i])].toText() : "";
        }
        return text;
    }

  private:
    std::vector<std::string> names_;
    std::vector<int> indexes_;  // the file's column of each key column, -1 when it lacks it
    std::unordered_set<std::string> keys_;
};

}  // namespace

ImportPlan PlanImport(SourceReader& file, platform::Database& db) {
    static const std::vector<platform::TableColumns> schema =
        platform::TablesOfScript(store::SchemaDdl());
    const std::vector<SourceTable> tables = file.Tables();
    ImportPlan plan;
    for (const auto& wanted : schema) {
        const SourceTable* found = findTable(tables, wanted.table);
        if (!found) {
            plan.missingTables.push_back(wanted.table);
            continue;
        }
        TableCopy copy{wanted.table, found->name, {}, {}, 0};
        for (const auto& column : wanted.columns) {
            const int index = findColumn(*found, column);
            if (index < 0)
                copy.lacking.push_back(column);
            else
                copy.columns.emplace_back(index, column);
        }
        plan.tables.push_back(std::move(copy));
    }
    if (plan.tables.empty())
        throw store::Refused(
            "The file holds none of this program's tables (tblsample, tblresults and the "
            "others), so there is nothing in it to import.");

    for (auto& t : plan.tables) {
        TakenKeys taken(db, t);
        file.ReadRows(t.source, [&](const Row& row) {
            ++t.rows;
            if (taken.Take(row)) {
                if (plan.conflicts.size() < kListedConflicts)
                    plan.conflicts.push_back({t.table, taken.Describe(row)});
                ++plan.conflictCount;
            }
            return true;
        });
    }
    return plan;
}

ImportCounts CopyTables(SourceReader& file, platform::Database& db, const ImportPlan& plan,
                        bool skipTaken) {
    ImportCounts counts;
    // Journaled as one action, so one undo takes the whole import back.
    store::JournaledWrite write(db, "imported an Access database");
    for (const auto& t : plan.tables) {
        TakenKeys taken(db, t);
        std::vector<std::string> columns;
        for (const auto& [index, column] : t.columns) columns.push_back(column);
        store::TableInserter insert(db, t.table, columns);
        long long copied = 0;
        file.ReadRows(t.source, [&](const Row& row) {
            if (taken.Take(row)) {
                if (!skipTaken)
                    throw store::Refused("The database already holds " + t.table + " " +
                                         taken.Describe(row) + ". Nothing was imported.");
                ++counts.skipped;
                return true;
            }
            try {
                std::vector<platform::Variant> values;
                values.reserve(t.columns.size());
                for (const auto& [index, column] : t.columns)
                    values.push_back(row[static_cast<std::size_t>(index)]);
                insert.Insert(std::move(values));
            } catch (const platform::EngineError& e) {
                // Say which row, or the user cannot find it among thousands.
                throw platform::EngineError(
                    e.Number(), t.table + " " + taken.Describe(row) + ": " + e.Description());
            }
            if (++copied % 1000 == 0) write.Flush();
            return true;
        });
        counts.copied.emplace_back(t.table, copied);
    }
    write.Commit();
    return counts;
}

}  // namespace accessdb
