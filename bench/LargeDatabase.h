#pragma once

#include <string>

namespace bench {

// Hand-entered sample codes stay this far below the 16-bit limit the window's code
// arithmetic has, so a benchmark can still add a few thousand samples.
constexpr int kMaxHandEnteredSamples = 30000;

// How big a generated database is. Stations and projects count the demo's own ones too.
struct LargeDatabaseSize {
    int samples = 100000;
    int resultsPerSample = 10;  // numeric results, on average
    int stations = 500;
    int projects = 40;
    unsigned long long seed = 1;
    // The hand-entered "V" share. Raised (with the cap) it gives a database of mostly "V"
    // samples with codes past the window's 16-bit limit, as another program may write.
    int handEnteredPercent = 15;
    int maxHandEntered = kMaxHandEnteredSamples;
};

// A new database file with the demo's reference data, more projects and stations, and
// exactly `size.samples` samples of three sources: "S" (60%), "B" (25%) and hand-entered
// "V" (15%, at most kMaxHandEnteredSamples), or with another "V" share the rest split
// "S" to "B" as 60 to 25. Project 8 holds about a tenth of them. Each
// sample has about resultsPerSample numeric results; about 5% have non-numeric results
// and about 3% a replicate. The same size and seed give the same table contents.
// Refuses to overwrite an existing file.
void CreateLargeDatabase(const std::string& path, const LargeDatabaseSize& size);

// A database of this size kept in the temp folder, generated on first use and reused by
// later runs.
std::string CachedLargeDatabase(const LargeDatabaseSize& size);

}  // namespace bench
