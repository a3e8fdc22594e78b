#pragma once

#include <ostream>
#include <string>

namespace store {

// Copies every table of the data at `from` into a new database at `to` (a file, or a
// server database holding none of the tables): all or nothing, in one transaction, with a
// line per table on `progress`. The row counts of every table are compared before the
// copy is committed. Throws EngineError or Refused; nothing is left at `to` then.
void CopyDatabase(const std::string& from, const std::string& to, std::ostream& progress);

}  // namespace store
