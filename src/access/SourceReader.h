#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Variant.h"

namespace accessdb {

// What a column of a source table holds. Binary values (pictures, OLE objects) come as
// upper-case hexadecimal text.
enum class ValueKind { Integer, Real, Text, Date, Boolean, Binary };

struct SourceColumn {
    std::string name;
    ValueKind kind;
};

struct SourceTable {
    std::string name;
    std::vector<SourceColumn> columns;
};

// One row's values in the order of its table's columns; Null where the file holds none.
using Row = std::vector<platform::Variant>;

// A foreign database file seen table by table, as an import reads it: nothing is written.
class SourceReader {
  public:
    virtual ~SourceReader() = default;
    // The user tables with their columns, in the file's order.
    virtual std::vector<SourceTable> Tables() = 0;
    // Streams every row of a table to `row`, which returns false to stop early.
    virtual void ReadRows(const std::string& table, const std::function<bool(const Row&)>& row) = 0;
};

// Opens an Access (Jet 3 or 4) file read-only. Throws store::Refused, naming the file, when
// it is missing or not an Access database.
std::unique_ptr<SourceReader> OpenAccessFile(const std::string& path);

}  // namespace accessdb
