#include "Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "BusyWait.h"
#include "EngineError.h"
#include "LikeFunction.h"
#include "PgConnection.h"
#include "PgCursor.h"
#include "ServerValues.h"
#include "SqlHooks.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {
namespace {

sqlite3* openHandle(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    // One thread uses a connection: SQLite's per-call locking is pure overhead, and it
    // showed at every field of every row read.
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        ThrowSqlite(rc, message, path);
    }
    sqlite3_extended_result_codes(db, 1);
    InstallBusyWait(db);
    InstallLikeFunction(db);
    return db;
}

// Any read of the schema fails on a file that is not a database.
void checkIsDatabase(sqlite3* db, const std::string& path) {
    char* message = nullptr;
    int rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, &message);
    SettleBusyWait();
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        sqlite3_close_v2(db);
        if ((rc & 0xff) == SQLITE_NOTADB)
            throw EngineError(err::NotADatabase,
                              "The file '" + path + "' is not a database (unrecognized format).");
        ThrowSqlite(rc, text, path);
    }
}

std::vector<std::string> columnsOf(sqlite3* db, const std::string& table, const std::string& path) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select name from pragma_table_info(?1)", -1, &stmt, nullptr) !=
        SQLITE_OK)
        ThrowSqlite(db, SQLITE_ERROR, path);
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<std::string> names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return names;
}

// Why a new file could not be made, in words that name the folder to look at.
std::string cannotCreate(const std::string& path, int code) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const std::string reason = std::generic_category().message(code);
    std::string what;
    if (code == ENOENT)
        what = "the folder '" + folder + "' does not exist";
    else if (code == EACCES || code == EPERM || code == EROFS)
        what = "the folder '" + folder + "' may not be written to";
    else
        return "Could not create '" + path + "' in the folder '" + folder + "': " + reason + ".";
    return "Could not create '" + path + "': " + what + " (" + reason + ").";
}

}  // namespace

Database::Database(sqlite3* db, std::string path)
    : db_(db), path_(std::move(path)), cache_(std::make_unique<StatementCache>(db, path_)) {}

Database::Database(std::unique_ptr<PgConnection> pg, std::string location)
    : db_(nullptr), pg_(std::move(pg)), path_(std::move(location)) {}

Database::~Database() {
    cache_.reset();  // finalizes the idle statements
    sqlite3_close_v2(db_);
}

std::shared_ptr<Database> Database::OpenDatabase(const std::string& path) {
    if (IsServerLocation(path))
        return std::shared_ptr<Database>(new Database(std::make_unique<PgConnection>(path), path));
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_directory(path, ec))
        throw EngineError(err::CannotOpenDatabase, "'" + path + "' is a folder, not a data file.");
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        throw EngineError(err::CannotOpenDatabase, "Could not find file '" + path + "'.");
    // No SQLITE_OPEN_CREATE: a mistyped path must never leave an empty database behind.
    sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE);
    checkIsDatabase(db, path);
    return std::shared_ptr<Database>(new Database(db, path));
}

std::shared_ptr<Database> Database::CreateDatabase(const std::string& path) {
    if (IsServerLocation(path)) return OpenDatabase(path);
    if (path.empty())
        throw EngineError(err::CannotOpenDatabase, "No file name was given for the new database.");
    // "x": the test for an existing file and the creation are one step, so a file another
    // program makes meanwhile is never taken over.
    errno = 0;
    std::FILE* made = std::fopen(path.c_str(), "wbx");
    if (!made) {
        const int code = errno != 0 ? errno : EIO;
        std::error_code ec;
        if (code == EEXIST && std::filesystem::is_directory(path, ec))
            throw EngineError(err::CannotOpenDatabase,
                              "'" + path + "' is a folder; give the name of a new file in it.");
        if (code == EEXIST)
            throw EngineError(err::GeneralEngine, "Database '" + path + "' already exists.");
        throw EngineError(err::CannotOpenDatabase, cannotCreate(path, code));
    }
    std::fclose(made);
    // SQLite takes the empty file as an empty database.
    try {
        sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE);
        checkIsDatabase(db, path);
        return std::shared_ptr<Database>(new Database(db, path));
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        throw;
    }
}

long long Database::Execute(const std::string& sql, const std::vector<Variant>& values) {
    if (pg_) {
        PgParams params;
        params.reserve(values.size());
        for (const Variant& v : values) params.push_back(ServerText(v));
        return pg_->exec(ServerStatement(*pg_, sql), params).changed();
    }
    sqlite3_stmt* stmt = cache_->acquire(sql);
    for (size_t i = 0; i < values.size(); ++i) BindValue(stmt, static_cast<int>(i) + 1, values[i]);
    int rc;
    while ((rc = StepStatement(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(db_);
        cache_->release(sql, stmt);
        ThrowSqlite(rc, message, path_);
    }
    cache_->release(sql, stmt);
    return sqlite3_changes64(db_);
}

void Database::ExecuteNative(const std::string& sql) {
    if (pg_) {
        pg_->execScript(ServerScript(sql));
        return;
    }
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    SettleBusyWait();
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        ThrowSqlite(rc, text, path_);
    }
}

void Database::BeginTrans() {
    if (InTransaction())
        throw EngineError(err::TransactionNested, "A transaction is already open.");
    if (pg_)
        // Every program of this kind takes the same lock first, as BEGIN IMMEDIATE takes
        // SQLite's: the next code read in a save is still free when it is written.
        pg_->execScript("BEGIN; SELECT pg_advisory_xact_lock(7406290521)");
    else
        ExecuteNative("BEGIN IMMEDIATE");
    ++transaction_;
    inTransaction_ = true;
}

void Database::CommitTrans() {
    if (!InTransaction()) throw EngineError(err::NoTransaction, "Commit without a transaction.");
    ExecuteNative("COMMIT");  // a commit that fails leaves the transaction open
    inTransaction_ = false;
}

void Database::Rollback() {
    if (!InTransaction()) throw EngineError(err::NoTransaction, "Rollback without a transaction.");
    // A lost connection took its transaction with it: there is nothing left to undo.
    if (!pg_ || pg_->inTransaction()) ExecuteNative("ROLLBACK");
    inTransaction_ = false;
}

bool Database::InTransaction() const {
    return pg_ ? pg_->inTransaction() : sqlite3_get_autocommit(db_) == 0;
}

long long Database::ValueLimit() const {
    // A server's text holds up to 1 GB.
    return pg_ ? (1LL << 30) - 1 : sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, -1);
}

std::string Database::Describe() const { return pg_ ? DescribeServerLocation(path_) : path_; }

bool Database::TableExists(const std::string& name) const {
    if (pg_)
        return pg_->exec("select 1 from pg_class where oid = to_regclass(lower($1))", {name})
                   .rows() > 0;
    sqlite3_stmt* stmt = nullptr;
    const char* sql =
        "select 1 from sqlite_master where type in ('table', 'view') and name = ?1 collate nocase";
    const int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    SettleBusyWait();
    if (rc != SQLITE_OK) ThrowSqlite(db_, rc, path_);
    sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    bool found = StepStatement(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return found;
}

std::vector<std::string> Database::ColumnNames(const std::string& table) const {
    if (pg_) {
        PgResult r = pg_->exec(
            "select attname from pg_attribute where attrelid = to_regclass(lower($1)) and "
            "attnum > 0 and not attisdropped order by attnum",
            {table});
        std::vector<std::string> names;
        for (int i = 0; i < r.rows(); ++i) names.emplace_back(r.text(i, 0));
        return names;
    }
    return columnsOf(db_, table, path_);
}

std::vector<TableColumns> TablesOfScript(const std::string& ddl) {
    const std::string scratch = ":memory:";
    sqlite3* db = openHandle(scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(db, sqlite3_close_v2);
    char* message = nullptr;
    if (int rc = sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, &message); rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        ThrowSqlite(rc, text, scratch);
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select name from sqlite_master where type = 'table' order by rowid",
                           -1, &stmt, nullptr) != SQLITE_OK)
        ThrowSqlite(db, SQLITE_ERROR, scratch);
    std::vector<TableColumns> tables;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        tables.push_back({reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), {}});
    sqlite3_finalize(stmt);
    for (auto& t : tables) t.columns = columnsOf(db, t.table, scratch);
    return tables;
}

}  // namespace platform
