#include "SqliteBaseline.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>

namespace bench {

long long StepAll(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    long long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c)
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

}  // namespace bench
