#pragma once

#include <array>
#include <istream>
#include <string>
#include <vector>

#include "ImportColumns.h"
#include "Progress.h"
#include "ResultCheck.h"

namespace platform {
class Database;
}

namespace import {

// How a lab file is read: which column holds what, whether its first row names the
// columns, the samples to make for rows of a station and date not stored yet, and how its
// values read as numbers.
struct ImportSettings {
    ColumnMap map;
    bool header = true;
    NewSamples newSamples;
    ValueReading reading;
};

// The map a file's first row gives by the columns' names (see AutoMap).
ColumnMap MapOfHeader(std::istream& in);

// Whether the file writes a decimal comma: its separator is a semicolon or a tab, and its
// value column holds a number with a comma between digits and none with a point.
bool WritesDecimalComma(std::istream& in, const ImportSettings& settings);

// How many rows did what; results by kind (numeric, text, replicate).
struct ImportCounts {
    std::array<long long, 3> stored{}, replaced{};
    long long samplesMade = 0;
    long long refused = 0;
    long long Stored() const { return stored[0] + stored[1] + stored[2]; }
    bool operator==(const ImportCounts&) const = default;
};

// "3 numeric results (1 replaced), 1 text result and 0 replicates; 2 rows refused".
std::string CountsText(const ImportCounts& counts);

// Sees every data row as it is checked, in file order; false stops the run.
class RowObserver {
  public:
    virtual ~RowObserver() = default;
    virtual bool Row(long long line, const std::vector<std::string>& record,
                     const CheckedRow& row) = 0;
};

// A stored result that a row replaces, and what replaces it.
struct Replacement {
    std::string sample, parameter;
    store::ResultKind oldKind = store::ResultKind::Numeric, newKind = store::ResultKind::Numeric;
    std::string oldValue, newValue;
    bool operator==(const Replacement&) const = default;
};

// How a run ended: every row seen, stopped (by the observer or the progress), whether the
// rows were written, and the first kShownReplacements results replaced.
struct ImportOutcome {
    static constexpr size_t kShownReplacements = 20;
    ImportCounts counts;
    bool stopped = false;
    bool written = false;
    std::vector<Replacement> replacements;
};

// A line for each replacement held ("sample 1, parameter 400: the numeric result 7.1 by the
// numeric result 7.3"),
// then "and N more" for those past them; empty when nothing is replaced.
std::string ReplacedText(const ImportOutcome& outcome);

// Checks every row of `in` against the database, writing nothing. `progress` (may be null)
// is told the bytes read.
ImportOutcome CheckResults(platform::Database& db, std::istream& in, const ImportSettings& settings,
                           RowObserver* observer, platform::ProgressReporter* progress);

// Checks and stores every row in one transaction: all ready rows are stored, or none.
// Nothing is written when the run is stopped, or when a row is refused and `skipRefused`
// is not set. Throws EngineError when the file refuses the writes (nothing written then).
ImportOutcome ImportResults(platform::Database& db, std::istream& in,
                            const ImportSettings& settings, bool skipRefused, RowObserver* observer,
                            platform::ProgressReporter* progress);

}  // namespace import
