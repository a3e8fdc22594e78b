#pragma once

// The findings as the review window's grid lists them, and back: a row holds all a mark
// needs, so the grid is the only copy of the findings the window keeps.

#include <optional>
#include <string>
#include <vector>

#include "Records.h"
#include "Review.h"

namespace review {

// The grid's columns: the finding's (up to StationName), then who marked it reviewed, when,
// and the note.
extern const std::vector<std::string> kFindingHeaders;
namespace column {
// What tells findings apart first; the station's name after the detail.
inline constexpr int Check = 0, Source = 1, Sample = 2, Station = 3, Date = 4, Parameter = 5,
                     ParameterName = 6, Value = 7, Detail = 8, StationName = 9, Reviewer = 10,
                     ReviewedOn = 11, Note = 12;
}  // namespace column

store::GridRow FindingCells(const store::Finding& finding);
// The mark's three cells, as FindingCells writes them.
store::GridRow MarkCells(const store::ReviewMark& mark);

// The finding a row of cells lists: check, sample, parameter and value, as a mark needs
// them, with the station and date as shown; nothing for a row that lists none.
std::optional<store::Finding> FindingOfCells(const std::vector<std::string>& cells);

}  // namespace review
