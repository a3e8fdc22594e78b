#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"

namespace loader {

// The station viewer's filters as the tab holds them; a filter is on when its box is
// ticked. The project is the code of the chosen list entry.
struct StationFilter {
    std::optional<std::string> project;
    std::optional<std::string> placeName;
    std::optional<std::string> waterBody;
};
std::string StationViewerSql(const StationFilter& filter);

// The sample viewer's choices; a filter is on when set.
struct SampleFilter {
    bool allSources = false;
    std::optional<std::pair<platform::DateTime, platform::DateTime>> dates;
    std::optional<std::string> station;  // a whole number
    std::optional<std::string> project;
};
std::string SampleViewerSql(const SampleFilter& filter);

// The result viewer's three queries (numeric results, replicates, non-numeric results) for
// a station and parameter of every source, or for the hand-entered results of one sample
// (a numeric text) or of all samples.
struct ResultFilter {
    std::optional<std::pair<std::string, std::string>> stationAndParameter;  // whole numbers
    std::string sampleNumber;
};
std::string ResultViewerSql(const ResultFilter& filter, const char* table);

// Column names of each grid, in column order.
extern const std::vector<std::string> kStationHeaders;
extern const std::vector<std::string> kSampleHeaders;
extern const std::vector<std::string> kResultHeaders;

}  // namespace loader
