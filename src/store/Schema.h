#pragma once

#include <memory>
#include <string>

namespace platform {
class Database;
}

namespace store {

// The DDL of every table, with the keys the data model gives and the indexes that the
// program's queries use. The one way new databases and test fixtures are made.
const char* SchemaDdl();

void CreateSchema(platform::Database& db);

// A new file with the full schema and empty tables; refuses to overwrite a file.
std::shared_ptr<platform::Database> CreateEmptyDatabase(const std::string& path);

// The names of required tables the database lacks, joined by ", "; empty when complete.
std::string MissingTables(const platform::Database& db);

}  // namespace store
