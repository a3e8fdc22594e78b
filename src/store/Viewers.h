#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Records.h"
#include "Variant.h"

namespace platform {
class Database;
}

namespace store {

// A query and the values of its `?` parameters, in order.
struct BoundQuery {
    std::string sql;
    std::vector<platform::Variant> values;
};

// The browse grids' rows: projects, stations, samples and results, each row the cell texts
// of its grid in column order (a Null is an empty cell). The headers give each grid's
// columns.
class Viewers {
  public:
    explicit Viewers(platform::Database& db) : db_(db) {}

    // Every project with its organization's name.
    GridRows Projects();
    GridRows Stations(const StationViewFilter& filter);
    GridRows Samples(const SampleViewFilter& filter);
    // The same rows one by one, for a list too long to hold twice.
    void Samples(const SampleViewFilter& filter, const GridRowSink& sink);
    // Numeric results, then replicates, then text results; the last two carry no comment.
    // Only the station-and-parameter mode fills source, project and start date.
    GridRows Results(const ResultViewFilter& filter);

    // The results of the listed samples, sample by sample in list order, each row ending
    // with its sample's source, project code and start date. All are read in one read
    // transaction, one statement reused for every sample. `progress` hears the number of
    // samples read so far; when it answers false the read stops and gives nothing.
    // Refused when the list is empty, and, naming the sample, when one no longer exists.
    std::optional<GridRows> ResultsOfSamples(
        const std::vector<ListedSample>& samples,
        const std::function<bool(long long done)>& progress = {});
    // The same rows one by one; false when `progress` stopped the read.
    bool ResultsOfSamples(const std::vector<ListedSample>& samples, const GridRowSink& sink,
                          const std::function<bool(long long done)>& progress = {});

    // The query Samples runs, for measuring it against the bare engine.
    static BoundQuery SamplesQuery(const SampleViewFilter& filter);

    static const GridRow kProjectHeaders;
    static const GridRow kStationHeaders;
    static const GridRow kSampleHeaders;
    static const GridRow kResultHeaders;

  private:
    platform::Database& db_;
};

}  // namespace store
