#pragma once

#include <string>
#include <vector>

#include "MSFlexGrid.h"

namespace loader {

// Writes the header texts into row 0, column by column (the current cell ends on the last).
void WriteHeaders(controls::MSFlexGrid& grid, const std::vector<std::string>& headers);

// Asks for a file and writes the whole grid to it as CSV; a cancel writes nothing.
void SaveGridAsCsv(controls::MSFlexGrid& grid);

}  // namespace loader
