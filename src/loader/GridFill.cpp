#include "GridFill.h"

#include <algorithm>

namespace loader {

void WriteHeaders(platform::MSFlexGrid& grid, const std::vector<std::string>& headers) {
    grid.SetRow(0);
    for (int col = 0; col < static_cast<int>(headers.size()); ++col) {
        grid.SetCol(col);
        grid.SetText(headers[col]);
    }
}

namespace {
constexpr size_t kBatchRows = 4096;  // bounds the memory of one bulk append
}

std::string GridLine(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) line += '\t';
        const size_t start = line.size();
        line += cells[i];
        std::replace(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(), '\t', ' ');
    }
    return line;
}

long long AppendRows(platform::MSFlexGrid& grid, platform::Recordset& rs,
                     const std::vector<std::string_view>& fields) {
    std::vector<int> columns;
    columns.reserve(fields.size());
    for (auto name : fields) columns.push_back(name.empty() ? -1 : rs.FieldIndex(name));
    std::vector<std::string> lines;
    std::vector<std::string> cells(columns.size());
    long long appended = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        for (size_t i = 0; i < columns.size(); ++i)
            cells[i] = columns[i] < 0 ? std::string() : rs.Value(columns[i]).toText();
        lines.push_back(GridLine(cells));
        if (lines.size() == kBatchRows) {
            grid.AddItems(lines);
            appended += static_cast<long long>(lines.size());
            lines.clear();
        }
    }
    grid.AddItems(lines);
    return appended + static_cast<long long>(lines.size());
}

}  // namespace loader
