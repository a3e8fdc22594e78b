#pragma once

#include <ostream>
#include <string>

namespace store {

// Copies the data at `from` whole into a new database at `to` (a file, or a server database
// holding none of the tables): every table, the program's, its journal and any other, with
// the source's own views, indexes and (file to file) triggers; all or nothing, in one
// transaction, with a line per table on `progress`. Before it commits, every table's rows
// are counted and, up to a size, compared value by value with the source's, and the report
// names each table with its count. What the target cannot take is refused (Refused, naming
// it) before anything is made; EngineError or Refused leave nothing at `to`.
void CopyDatabase(const std::string& from, const std::string& to, std::ostream& progress);

}  // namespace store
