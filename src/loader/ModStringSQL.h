#pragma once

#include <string>
#include <vector>

#include "Dialogs.h"
#include "MSFlexGrid.h"

namespace loader {

// The hand-over query of the sample grid: the results of every sample row in the selected
// range, each carrying its sample's project code and start date. The header row and the
// blank row of the range are passed over. Leaves the grid's current cell on column 11 of
// the range's last row. Throws HandOverError, with a message for the user, when the range
// holds no sample row or a sample no longer exists; the grid's selection is then kept.
std::string BuildResultSQL(platform::MSFlexGrid& grid);

// How many rows of the selected range may hold samples (the header and blank rows left out).
long long SelectedSampleRows(const platform::MSFlexGrid& grid);

// The same results as queries of at most `samplesPerQuery` samples each, for ranges longer
// than one compound query may be. Each sample looked up is reported to `progress`; a cancel
// there throws a cancelled HandOverError, the selection kept.
std::vector<std::string> BuildResultQueries(platform::MSFlexGrid& grid, long long samplesPerQuery,
                                            platform::ProgressReporter* progress = nullptr);

struct HandOverError {
    std::string message;
    bool cancelled = false;
};

}  // namespace loader
