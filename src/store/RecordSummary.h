#pragma once

// A station's record in figures: the summary table per station and parameter, and the
// boxes of a box plot by station or by month of the year. Results below their limit are
// counted (and drawn) apart, never taken as a value at their limit.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"
#include "Records.h"
#include "Review.h"

namespace platform {
class Database;
}

namespace store {

// One station and parameter over the scope. The figures are of the measured values (numeric
// results not below their limit); nothing when there are none.
struct SummaryRow {
    std::string station, stationName;
    long long parameterCode = 0;
    std::string parameterName;  // the short name, else the code
    long long count = 0;        // measured and below-limit results
    long long belowLimit = 0;   // numeric ones with a below-limit remark, and text like "<0.5"
    std::optional<double> min, p10, median, mean, p90, max;
    std::optional<platform::DateTime> first, last;
    long long outsideRange = 0;  // as the review's range check finds them
};

// One box of a box plot: quartiles, whiskers at the furthest values within 1.5 times the
// box's height of it, and the values beyond as outliers. Empty (count 0) when the group has
// no measured value.
struct Box {
    std::string label;  // the station's id, or the month ("Jan")
    long long count = 0;
    double lowWhisker = 0, q1 = 0, median = 0, q3 = 0, highWhisker = 0;
    std::vector<double> outliers;
    std::vector<double> belowLimit;  // the limits of results below them, drawn apart
};

class RecordSummary {
  public:
    explicit RecordSummary(platform::Database& db) : db_(db) {}

    // The summary's column headers, and a row's cells under them (empty for nothing).
    static const std::vector<std::string> kHeaders;
    static GridRow Cells(const SummaryRow& row);

    // The rows of every station and parameter with results in the scope, by station, then
    // parameter; `progress` hears the rows read now and then, and false stops. Gives the
    // number of rows handed over.
    long long Rows(const ReviewScope& scope, const std::function<void(const SummaryRow&)>& sink,
                   const std::function<bool(long long rowsRead)>& progress = {});
    std::vector<SummaryRow> Rows(const ReviewScope& scope);

    // A box per station of the scope for the parameter (a code), in station order.
    std::vector<Box> ByStation(const ReviewScope& scope, const std::string& parameter);
    // Twelve boxes, January to December, of one station and parameter over the scope's dates.
    std::vector<Box> ByMonth(const ReviewScope& scope, const std::string& station,
                             const std::string& parameter);

  private:
    platform::Database& db_;
};

}  // namespace store
