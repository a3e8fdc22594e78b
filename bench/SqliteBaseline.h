#pragma once

struct sqlite3;

namespace bench {

// The baseline every engine benchmark is measured against: prepares the query on bare
// SQLite and steps it to its end, reading every column as text. Returns the row count.
long long StepAll(sqlite3* db, const char* sql);

}  // namespace bench
