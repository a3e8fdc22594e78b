#pragma once

#include <optional>
#include <string>

#include "DateTime.h"

namespace loader {

// What the "Sample" tab's entry controls hold when the user presses "Locate Records".
struct SampleSearch {
    std::string sampleNumber;
    platform::DateTime startDate;
    platform::DateTime endDate;
    std::string comment;
    std::string depth;
    // Codes of the selected list entries; nothing when no entry (or one without a hyphen)
    // is selected.
    std::optional<std::string> project;
    std::optional<std::string> station;
    std::optional<std::string> sampleType;
    std::optional<std::string> compositeStatistic;
    std::optional<std::string> medium;
};

// The query for the hand-entered samples that match, or nothing when the search cannot
// match any sample (a sample number or station that is not a whole number). A start date
// counts only when it lies more than a day before `now`.
std::optional<std::string> SampleLocateSql(const SampleSearch& search,
                                           const platform::DateTime& now);

}  // namespace loader
