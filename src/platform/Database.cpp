#include "Database.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "EngineError.h"
#include "LikeFunction.h"
#include "RecordsetImpl.h"
#include "SqliteErrors.h"
#include "StatementCache.h"

namespace platform {
namespace {

constexpr int kBusyTimeoutMs = 5000;

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
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    InstallLikeFunction(db);
    return db;
}

// Any read of the schema fails on a file that is not a database.
void checkIsDatabase(sqlite3* db, const std::string& path) {
    char* message = nullptr;
    int rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, &message);
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

}  // namespace

Database::Database(sqlite3* db, std::string path)
    : db_(db), path_(std::move(path)), cache_(std::make_unique<StatementCache>(db, path_)) {}

Database::~Database() {
    cache_.reset();  // finalizes the idle statements; open recordsets keep us alive
    sqlite3_close_v2(db_);
}

std::shared_ptr<Database> Database::OpenDatabase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        throw EngineError(err::CannotOpenDatabase, "Could not find file '" + path + "'.");
    // No SQLITE_OPEN_CREATE: a mistyped path must never leave an empty database behind.
    sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE);
    checkIsDatabase(db, path);
    return std::shared_ptr<Database>(new Database(db, path));
}

std::shared_ptr<Database> Database::CreateDatabase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || std::filesystem::exists(path, ec))
        throw EngineError(err::GeneralEngine, "Database '" + path + "' already exists.");
    sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    checkIsDatabase(db, path);
    return std::shared_ptr<Database>(new Database(db, path));
}

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& source) {
    // Views and tables without rowid come back read-only.
    std::string key, table;
    sqlite3_stmt* stmt = cache_->acquireSource(source, key, table);
    auto impl = std::make_unique<Recordset::Impl>(shared_from_this(), stmt, std::move(key),
                                                  std::move(table));
    impl->open();
    return std::make_unique<Recordset>(std::move(impl));
}

long long Database::Execute(const std::string& sql) {
    std::string text;
    sqlite3_stmt* stmt = cache_->acquireShaped(cache_->translate(sql), text);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(db_);
        cache_->release(text, stmt);
        ThrowSqlite(rc, message, path_);
    }
    cache_->release(text, stmt);
    return sqlite3_changes64(db_);
}

void Database::ExecuteNative(const std::string& sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        ThrowSqlite(rc, text, path_);
    }
}

void Database::BeginTrans() {
    if (InTransaction())
        throw EngineError(err::TransactionNested, "A transaction is already open.");
    ExecuteNative("BEGIN IMMEDIATE");
}

void Database::CommitTrans() {
    if (!InTransaction()) throw EngineError(err::NoTransaction, "Commit without a transaction.");
    ExecuteNative("COMMIT");
}

void Database::Rollback() {
    if (!InTransaction()) throw EngineError(err::NoTransaction, "Rollback without a transaction.");
    ExecuteNative("ROLLBACK");
}

bool Database::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

bool Database::TableExists(const std::string& name) const {
    sqlite3_stmt* stmt = nullptr;
    const char* sql =
        "select 1 from sqlite_master where type in ('table', 'view') and name = ?1 collate nocase";
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
        ThrowSqlite(db_, SQLITE_ERROR, path_);
    sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    bool found = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return found;
}

}  // namespace platform
