#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Variant.h"

struct sqlite3;

namespace platform {

class StatementCache;
class PgConnection;

// A table as a schema names it, with its columns in their order.
struct TableColumns {
    std::string table;
    std::vector<std::string> columns;
};

// The tables a schema script makes and their columns, in the script's order: the script
// run on a scratch database in memory, so the answer is SQLite's own reading of it.
std::vector<TableColumns> TablesOfScript(const std::string& ddl);

// One open database: a SQLite file, or a PostgreSQL database on a server when the location
// is a server address (PgConnection.h). Every query of the program runs on it. Opening
// never creates a file; a query meeting another program's lock waits for it (BusyWait.h).
class Database {
  public:
    // Opens an existing file shared, read and write, or connects to a server. Throws
    // EngineError when the file is missing, unreadable or not a database, or the server
    // cannot be reached.
    static std::shared_ptr<Database> OpenDatabase(const std::string& path);
    // Creates a new, empty database file; refuses (throws) when the file exists. A server
    // database is made by its administrator: this connects to it.
    static std::shared_ptr<Database> CreateDatabase(const std::string& path);
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one statement that returns no rows (insert, update, delete, DDL), its `?`
    // parameters bound to `values` in order. Returns the number of rows changed.
    long long Execute(const std::string& sql, const std::vector<Variant>& values = {});
    // Runs a script of statements without values (the schema, BEGIN and COMMIT); on a server,
    // with the schema's types given their server names (ServerScript in SqlHooks.h).
    void ExecuteNative(const std::string& sql);

    // One write transaction. Nesting is not supported. It takes the write lock at once
    // (BEGIN IMMEDIATE; on a server, a lock every program of this kind shares), so two
    // saves never read the same next code.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;
    // The transaction BeginTrans opened and not yet ended (numbered from 1), or 0.
    long long Transaction() const { return inTransaction_ ? transaction_ : 0; }

    bool TableExists(const std::string& name) const;
    // The columns of a table or view as the file spells them; empty when there is none.
    std::vector<std::string> ColumnNames(const std::string& table) const;
    // The most bytes one stored value may hold: SQLite's length limit on this connection.
    long long ValueLimit() const;
    const std::string& Name() const { return path_; }
    // The file's path, or "database name on server host:port".
    std::string Describe() const;
    sqlite3* handle() const { return db_; }
    StatementCache& statements() { return *cache_; }
    // The server connection; null for a file.
    PgConnection* server() const { return pg_.get(); }

  private:
    Database(sqlite3* db, std::string path);
    Database(std::unique_ptr<PgConnection> pg, std::string location);
    sqlite3* db_;
    std::unique_ptr<PgConnection> pg_;
    std::string path_;
    std::unique_ptr<StatementCache> cache_;
    long long transaction_ = 0;
    bool inTransaction_ = false;
};

}  // namespace platform
