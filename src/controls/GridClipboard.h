#pragma once

#include <string>
#include <string_view>

namespace controls {

class FlexGridModel;

// A block of grid cells, rows r1..r2 and columns c1..c2 inclusive.
struct CellBlock {
    long long r1, r2;
    int c1, c2;
};

// The forms a grid leaves for other programs. The HTML table lets a spreadsheet keep columns
// and number types; the CSV quotes as the export does.
namespace GridClipboard {
// A cell as spreadsheets read pasted text: one holding a tab or line break, or starting with
// a double quote, goes in double quotes with its own quotes doubled; others as they are.
std::string Cell(std::string_view text);
// Cells joined by tabs, each row ended by a line feed.
std::string Text(const FlexGridModel& model, CellBlock block);
// The whole grid laid out as ClipText lays it out (every cell followed by a tab), its cells
// quoted as Cell quotes them.
std::string AllText(const FlexGridModel& model);
std::string Html(const FlexGridModel& model, CellBlock block);
// Header row and data rows (the blank row 1 left out), CR LF line ends.
std::string Csv(const FlexGridModel& model);
// Both forms on the clipboard at once.
void Put(const std::string& text, const std::string& html);
}  // namespace GridClipboard

}  // namespace controls
