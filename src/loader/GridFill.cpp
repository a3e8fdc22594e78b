#include "GridFill.h"

namespace loader {

void WriteHeaders(controls::MSFlexGrid& grid, const std::vector<std::string>& headers) {
    grid.SetRow(0);
    for (int col = 0; col < static_cast<int>(headers.size()); ++col) {
        grid.SetCol(col);
        grid.SetText(headers[col]);
    }
}

}  // namespace loader
