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
    // Laid out as SampleHeaders(filter.allSources) says.
    GridRows Samples(const SampleViewFilter& filter);
    // The same rows one by one, for a list too long to hold twice.
    void Samples(const SampleViewFilter& filter, const GridRowSink& sink);
    // Numeric results, then replicates, then text results; the last two carry no comment.
    // Only the station-and-parameter mode, which lists every source, fills source, project and
    // start date; its rows are laid out as ResultHeaders(true) says, the others as
    // ResultHeaders(false).
    GridRows Results(const ResultViewFilter& filter);

    // The results of the listed samples, sample by sample in list order, each row ending
    // with its sample's source, project code and start date. All are read in one read
    // transaction, one statement reused for every sample. `progress` hears the number of
    // samples read so far; when it answers false the read stops and gives nothing.
    // Refused when the list is empty, and, naming the sample, when one no longer exists.
    // Laid out as ResultHeaders(sourceAfterCode) says.
    std::optional<GridRows> ResultsOfSamples(
        const std::vector<ListedSample>& samples,
        const std::function<bool(long long done)>& progress = {}, bool sourceAfterCode = false);
    // The same rows one by one; false when `progress` stopped the read.
    bool ResultsOfSamples(const std::vector<ListedSample>& samples, const GridRowSink& sink,
                          const std::function<bool(long long done)>& progress = {},
                          bool sourceAfterCode = false);

    // The query Samples runs, for measuring it against the bare engine.
    static BoundQuery SamplesQuery(const SampleViewFilter& filter);

    static const GridRow kProjectHeaders;
    static const GridRow kStationHeaders;
    // The hand-entered rows' columns, the source ("IDLoc", "IDLOC") among the last.
    static const GridRow kSampleHeaders;
    static const GridRow kResultHeaders;
    // A list that holds other sources' rows tells them apart at a glance: the source right
    // after the sample code, headed kSourceHeader, in place of its column further on.
    static GridRow SampleHeaders(bool everySource);
    static GridRow ResultHeaders(bool everySource);
    // The column of the source in the sample list.
    static int SampleSourceColumn(bool everySource);
    static constexpr const char* kSourceHeader = "Source";

  private:
    platform::Database& db_;
};

}  // namespace store
