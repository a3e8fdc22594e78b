#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Conversions.h"
#include "ExportRows.h"
#include "Progress.h"

namespace platform {
class Database;
}

namespace exporter {

// The four files an export writes, and whether each starts with a line of column names
// (off by default: other programs read the files as they always were).
struct ExportTargets {
    std::string sample;
    std::string result;
    std::string nonNumeric;
    std::string replicate;
    bool header = false;
};

// The files the window offers (in the folder it starts in) and the command line uses (in the
// program's folder) unless told otherwise.
ExportTargets DefaultTargets(const std::string& folder);
ExportTargets DefaultTargets();

// Which hand-entered samples go out.
using ExportRange = store::ExportRange;

// One CSV field, quoted as every file of the program quotes it.
using platform::CsvField;

struct ExportCounts {
    long long samples = 0;
    long long results = 0;
    long long nonNumeric = 0;
    long long replicates = 0;
    bool operator==(const ExportCounts&) const = default;
};

// What the window says once an export is done: "Data Exported", then how many rows of each
// kind went into which file, and the folder when all four share one.
std::string ExportSummary(const ExportCounts& counts, const ExportTargets& targets);

// Why an export wrote nothing, in words for the user.
class ExportError : public std::runtime_error {
  public:
    explicit ExportError(const std::string& reason, bool cancelled = false)
        : std::runtime_error(reason), cancelled_(cancelled) {}
    bool Cancelled() const { return cancelled_; }

  private:
    bool cancelled_;
};

// Given the number of samples to write, the progress to report them to (or null).
using ProgressFactory =
    std::function<std::unique_ptr<platform::ProgressReporter>(long long samples)>;

// Writes the hand-entered samples in `range` and their results, non-numeric results and
// replicates to the four files: one CSV line per row (after the column names when asked
// for), CR LF after each line.
// All four appear together or not at all: on any failure, a cancel included, every
// earlier file of those names is left as it was. A FIFO or a device among them is
// written in place, last (see OutputFiles). Throws ExportError.
ExportCounts ExportData(platform::Database& db, const ExportRange& range,
                        const ExportTargets& targets, const ProgressFactory& progress = {});

}  // namespace exporter
