#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MSFlexGrid.h"
#include "Recordset.h"

namespace loader {

// Writes the header texts into row 0, column by column.
void WriteHeaders(platform::MSFlexGrid& grid, const std::vector<std::string>& headers);

// Appends one grid row per record, from the current one to the end: the fields' texts in
// column order, joined by tabs; an empty field name leaves its cell empty. Returns the number
// of rows appended.
long long AppendRows(platform::MSFlexGrid& grid, platform::Recordset& rs,
                     const std::vector<std::string_view>& fields);

// One grid line from cell texts. A tab inside a value would push the following values
// into the wrong columns, so it is shown as a blank.
std::string GridLine(const std::vector<std::string>& cells);

}  // namespace loader
