#pragma once

#include <string>
#include <vector>

namespace platform {

class Database;

// The columns of a table's primary key in key order; empty when it has none or no such table.
std::vector<std::string> KeyColumns(const Database& db, const std::string& table);

}  // namespace platform
