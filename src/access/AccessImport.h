#pragma once

#include <string>
#include <utility>
#include <vector>

#include "SourceReader.h"

namespace platform {
class Database;
}

namespace accessdb {

// A table of the program's schema as the file holds it.
struct TableCopy {
    std::string table;   // as the schema names it
    std::string source;  // as the file spells it
    // The file's column index for each schema column it has.
    std::vector<std::pair<int, std::string>> columns;
    std::vector<std::string> lacking;  // schema columns the file lacks, left Null
    long long rows = 0;
};

// A row whose key the database already holds, or an earlier row of the file holds.
struct KeyConflict {
    std::string table;
    std::string key;  // "idloc V, sample_code 12"
};

struct ImportPlan {
    std::vector<TableCopy> tables;  // in the schema's order
    std::vector<std::string> missingTables;
    std::vector<KeyConflict> conflicts;  // the first kListedConflicts of them
    long long conflictCount = 0;
};

inline constexpr std::size_t kListedConflicts = 500;

struct ImportCounts {
    std::vector<std::pair<std::string, long long>> copied;  // rows written, by table
    long long skipped = 0;
};

// Finds the schema's tables and columns in the file (any letter case) and the rows whose keys
// are taken. Reads the file and the database only. Throws store::Refused when the file holds
// none of the schema's tables.
ImportPlan PlanImport(SourceReader& file, platform::Database& db);

// Copies every row of the planned tables, all sources alike, in one transaction. A row whose
// key is taken is skipped when `skipTaken`; otherwise it stops the copy with store::Refused
// and nothing is written. An engine error also writes nothing.
ImportCounts CopyTables(SourceReader& file, platform::Database& db, const ImportPlan& plan,
                        bool skipTaken);

}  // namespace accessdb
