#pragma once

#include <vector>

#include "MSFlexGrid.h"
#include "Records.h"

namespace loader {

// Whether the sample or result list shows the source right after the sample code, as it
// does when it lists other sources than hand entry: its header row says so.
bool ListsSourceAfterCode(const controls::MSFlexGrid& grid);

// The samples of the selected range of the sample list, top to bottom, read from their cells
// (column 0 the code; the source in column 1 or 11, store::Viewers::SampleSourceColumn); the
// header row and the blank row are passed over, and the grid's cursor stays where it is.
// Refused, with the message for the user, when a row of the range holds no sample code.
std::vector<store::ListedSample> SelectedSamples(const controls::MSFlexGrid& grid);

// After a hand-over: the current cell on the source marker of the range's last row, the
// block still marked, so a second press hands over the same samples.
void MarkHandedOver(controls::MSFlexGrid& grid);

}  // namespace loader
