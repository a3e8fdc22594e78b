#pragma once

#include <string>

struct sqlite3;

namespace platform {

// Turns an SQLite result code and the connection's message into the EngineError the
// classic engine would have raised (number and description).
[[noreturn]] void ThrowSqlite(sqlite3* db, int rc, const std::string& file);
[[noreturn]] void ThrowSqlite(int rc, const std::string& message, const std::string& file);

}  // namespace platform
