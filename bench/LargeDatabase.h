#pragma once

#include <string>

namespace bench {

// A database with the demo's reference data and `samples` hand-entered samples, each
// with `resultsPerSample` numeric results, one non-numeric result and one replicate.
void CreateLargeDatabase(const std::string& path, int samples, int resultsPerSample = 3);

}  // namespace bench
