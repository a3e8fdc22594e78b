#include "LargeDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

#include "Database.h"
#include "DemoData.h"
#include "Schema.h"

namespace bench {

namespace {

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return stmt;
}

void run(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_DONE) throw std::runtime_error("insert failed");
    sqlite3_reset(stmt);
}

}  // namespace

void CreateLargeDatabase(const std::string& path, int samples, int resultsPerSample) {
    auto database = store::CreateDemoDatabase(path);
    sqlite3* db = database->handle();
    database->ExecuteNative(
        "DELETE FROM tblsample WHERE idloc = 'V';"
        "DELETE FROM tblresults WHERE idloc = 'V';"
        "DELETE FROM tblresults_val_nonnumeric WHERE idloc = 'V';"
        "DELETE FROM tblreplicates WHERE idloc = 'V';");
    database->BeginTrans();
    sqlite3_stmt* sample = prepare(
        db,
        "INSERT INTO tblsample VALUES ('V', ?1, '8', ?2, ?3, 'N', NULL, 'W', 'G', ?4, ?5, NULL)");
    sqlite3_stmt* result =
        prepare(db, "INSERT INTO tblresults VALUES ('V', ?1, ?2, ?3, NULL, 'A', 'bench')");
    sqlite3_stmt* nonNumeric = prepare(
        db, "INSERT INTO tblresults_val_nonnumeric VALUES ('V', ?1, 31648, 'Present', NULL, 'A')");
    sqlite3_stmt* replicate =
        prepare(db, "INSERT INTO tblreplicates VALUES ('V', ?1, 400, '7.5', NULL, 'A')");
    static const int parameters[] = {10, 300, 400, 630, 665, 940};
    for (int code = 1; code <= samples; ++code) {
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:00", 2000 + code % 5,
                      code % 12 + 1, code % 28 + 1, code % 24, code % 60);
        sqlite3_bind_int(sample, 1, code);
        sqlite3_bind_int(sample, 2, 101 + code % 12);
        sqlite3_bind_text(sample, 3, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(sample, 4, (code % 10) * 0.5);
        sqlite3_bind_text(sample, 5, "Benchmark sample, routine visit", -1, SQLITE_STATIC);
        run(sample);
        for (int r = 0; r < resultsPerSample; ++r) {
            sqlite3_bind_int(result, 1, code);
            sqlite3_bind_int(result, 2, parameters[r % 6]);
            sqlite3_bind_double(result, 3, 0.5 + (code * 7 + r) % 1000 / 10.0);
            run(result);
        }
        sqlite3_bind_int(nonNumeric, 1, code);
        run(nonNumeric);
        sqlite3_bind_int(replicate, 1, code);
        run(replicate);
    }
    for (auto* s : {sample, result, nonNumeric, replicate}) sqlite3_finalize(s);
    database->CommitTrans();
}

}  // namespace bench
