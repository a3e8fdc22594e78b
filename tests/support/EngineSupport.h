// What every test of the data side needs, with no window in sight: a temporary folder,
// databases made from the schema or from a few statements, a query reader, whole files.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Database.h"

namespace testing_support {

// A folder that exists for one test and is removed with everything in it afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // A new database file `name` in the folder made by `ddl` alone (one transaction).
    std::shared_ptr<platform::Database> NewDatabase(const std::string& ddl = {},
                                                    const std::string& name = "test.db") const;

  private:
    std::filesystem::path path_;
};

// Where a test's database for `path` lives: the file itself, or, when DATALOADER_TEST_PG
// names a server, a schema of its own on that server (made empty by the first
// EmptyDatabase or NewDatabase for the path).
std::string Location(const std::string& path);
// Location(path) with nothing there yet: no file, or an empty schema.
std::string EmptyLocation(const std::string& path);
bool OnServer();
// For a test of what only a file has (SQLite's hooks, limits, statement cache).
#define SKIP_ON_SERVER() \
    if (testing_support::OnServer()) GTEST_SKIP() << "SQLite's own workings, not a server's"

// A new database with the program's schema and empty tables, at Location(path).
std::shared_ptr<platform::Database> EmptyDatabase(const std::string& path);

// A trigger `name` that makes every `event` (INSERT, UPDATE, DELETE) on `table` fail, in
// the database's own dialect; and its removal.
void RefuseWrites(platform::Database& db, const std::string& name, const std::string& event,
                  const std::string& table);
void AllowWrites(platform::Database& db, const std::string& name, const std::string& table);

// Every row of a query, its `?` bound to `values`, each cell as its text (Null reads as "").
using Table = std::vector<std::vector<std::string>>;
Table QueryRows(platform::Database& db, const std::string& sql,
                const std::vector<platform::Variant>& values = {});
// The first cell of the first row, "" when there is no row.
std::string QueryValue(platform::Database& db, const std::string& sql,
                       const std::vector<platform::Variant>& values = {});

// The number of the engine error `f` throws; 0 when it throws none.
int ErrorNumber(const std::function<void()>& f);

// Writes a text file (binary, exactly these bytes).
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

// A server login that may only read the tables of the test's schema, dropped again at the
// end. `Location()` is where it connects: the test's own address with the login changed.
class ReadOnlyLogin {
  public:
    ReadOnlyLogin(platform::Database& owner, std::string location, const std::string& name)
        : owner_(owner), role_(name + "_" + std::to_string(::getpid())) {
        const std::string schema = QueryValue(owner, "select current_schema()");
        owner.ExecuteNative("drop role if exists " + role_ + "; create role " + role_ +
                            " login; grant usage on schema " + schema + " to " + role_ +
                            "; grant select on all tables in schema " + schema + " to " + role_);
        location.replace(location.find("user=dataloader"), 15, "user=" + role_);
        location_ = std::move(location);
    }
    ~ReadOnlyLogin() { owner_.ExecuteNative("drop owned by " + role_ + "; drop role " + role_); }
    ReadOnlyLogin(const ReadOnlyLogin&) = delete;
    ReadOnlyLogin& operator=(const ReadOnlyLogin&) = delete;
    const std::string& Location() const { return location_; }

  private:
    platform::Database& owner_;
    std::string role_, location_;
};

}  // namespace testing_support
