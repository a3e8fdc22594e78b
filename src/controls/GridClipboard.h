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
// Cells joined by tabs, each row ended by a line feed.
std::string Text(const FlexGridModel& model, CellBlock block);
std::string Html(const FlexGridModel& model, CellBlock block);
// Header row and data rows (the blank row 1 left out), CR LF line ends.
std::string Csv(const FlexGridModel& model);
// Both forms on the clipboard at once.
void Put(const std::string& text, const std::string& html);
}  // namespace GridClipboard

}  // namespace controls
