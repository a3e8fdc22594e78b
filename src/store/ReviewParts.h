#pragma once

// What the review's checks and the record summary share: the scope as SQL conditions, the
// parameter limits' columns and the percentiles of a station's record.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"
#include "Review.h"
#include "Viewers.h"

namespace store::review_parts {

// " in (?, ?, ?)" for `n` values.
std::string InList(std::size_t n);

// Appends " and ..." conditions on the sample `s` to `q`. The stations of the scope (the
// project's own when it names none and `projectStations`), and the date range of the scope
// (only its end when `onlyEnd`, for a record read with its history).
void AddStations(BoundQuery& q, const ReviewScope& scope, bool projectStations);
void AddDates(BoundQuery& q, const ReviewScope& scope, bool onlyEnd);
// The project and source of the scope.
void AddSampleScope(BoundQuery& q, const ReviewScope& scope);
// The scope's parameters on `column` (a constant "r.parameter_code").
void AddParameters(BoundQuery& q, const ReviewScope& scope, const std::string& column);
// Whether a row read with its history is in the scope's project, source and dates.
bool InScope(const ReviewScope& scope, const std::string& source, const std::string& project,
             const std::optional<platform::DateTime>& date);

// The columns of tblparameter_limits, which files of other programs name either way;
// nothing when the table or its columns are missing.
struct LimitColumns {
    const char* low;
    const char* high;
};
std::optional<LimitColumns> LimitColumnsOf(platform::Database& db);

// The names a finding or a summary row shows, read once: stations and parameters, and
// the codes of pH.
struct Names {
    std::map<std::string, std::string> stations;
    std::map<long long, std::string> parameters;  // the short name, else the code
    std::vector<long long> ph;
    std::string Station(const std::string& id) const;
    std::string Parameter(long long code) const;
};
Names ReadNames(platform::Database& db);

// The limits of tblparameter_limits by parameter, where both are numbers.
std::map<long long, std::pair<double, double>> ReadLimits(platform::Database& db);

// A stored value as a number: a number, or text that reads as one.
std::optional<double> NumberOf(const platform::Variant& v);
// A stored date, also one kept as text.
std::optional<platform::DateTime> DateOf(const platform::Variant& v);

// One result of a station's record for a parameter.
struct RecordValue {
    double value = 0;
    std::optional<platform::DateTime> date;
    bool checked = false;  // in the scope: its bounds are wanted
};
// The 1st and 99th percentile of the values dated before a value, and how many there were.
struct RecordBounds {
    double low = 0, high = 0;
    long long earlier = 0;
};
// For each checked value, its record's bounds once at least `needed` values came before it;
// nothing for the others. Undated values are neither checked nor counted.
std::vector<std::optional<RecordBounds>> EarlierPercentiles(const std::vector<RecordValue>& values,
                                                            long long needed);

// The p-th quantile (0 to 1) of sorted values, interpolated between the two nearest ranks.
double Quantile(const std::vector<double>& sorted, double p);

// A value as the grids show a number.
std::string Shown(double value);

}  // namespace store::review_parts
