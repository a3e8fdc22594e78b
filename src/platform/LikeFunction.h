#pragma once

struct sqlite3;

namespace platform {

// Replaces SQLite's LIKE with one that ignores letter case beyond ASCII too ("río"
// matches "RÍO"), as the classic engine did. Wildcards are SQLite's '%' and '_';
// SqlHooks.h turns a user's `*` and `?` into these.
void InstallLikeFunction(sqlite3* db);

}  // namespace platform
