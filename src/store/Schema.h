#pragma once

#include <functional>
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

// A new file with the full schema and empty tables; refuses to overwrite a file. A server
// location gets the tables in its existing database, which must hold none of them.
std::shared_ptr<platform::Database> CreateEmptyDatabase(const std::string& path);

// A new file with the full schema, then filled by `fill`. A failure removes the file again:
// a half-made database would pass for a real one and block the next try with "already exists".
std::shared_ptr<platform::Database> CreateDatabaseFile(
    const std::string& path, const std::function<void(platform::Database&)>& fill);

// What the database lacks of the tables and columns the schema makes (the ones the program
// uses), in words: "tblsample lacks the column comment"; several parts joined by "; ".
// Names match in any letter case, as SQLite's do. Empty when nothing is missing.
std::string MissingSchema(const platform::Database& db);

}  // namespace store
