#pragma once

#include <string>
#include <vector>

#include "FieldCoding.h"
#include "Variant.h"

namespace platform {
class Database;
}

namespace store {

// Rows added to one table, each value first converted to what its column holds, as a value
// typed into a field is: a real into a whole-number column rounds half to even, a yes/no
// becomes -1 or 0, a date in a text column its text, a text in a date column the date it
// reads as.
class TableInserter {
  public:
    TableInserter(platform::Database& db, const std::string& table,
                  const std::vector<std::string>& columns);
    // The values in the order of the columns. Throws EngineError 3421 (nothing written) when
    // one does not convert, or the database's error.
    void Insert(std::vector<platform::Variant> values);

  private:
    platform::Database& db_;
    std::string sql_;
    std::vector<platform::ColumnKind> kinds_;
};

}  // namespace store
