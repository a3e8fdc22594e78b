#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Records.h"

namespace platform {
class Database;
}

namespace store {

// The kind a value keyed in is stored as: a replicate when so ticked, else a number when the
// text reads as one, else text.
ResultKind KindOfEntry(const std::string& value, bool replicate);

// "numeric result", "text result", "replicate".
std::string KindName(ResultKind kind);

// What a store wrote, and the result of the other kind it replaced, if any.
struct StoredResult {
    Result stored;
    std::optional<Result> replaced;
    // "The text result <5 was replaced by 3"; empty when nothing was replaced.
    std::string Note() const;
};

// The hand-entered results: stored, replaced, located, deleted, listed.
class Results {
  public:
    explicit Results(platform::Database& db) : db_(db) {}

    // Creates or overwrites the result of (sample, parameter) of its kind, only while the
    // sample is still the one shown; a number replaces a text result of the pair and the
    // other way round, in the same transaction. A result being corrected (`correcting`, as
    // it was loaded) that is of another kind is taken away in that transaction too, so a
    // replicate turned into a number does not stay beside it. Refused (nothing written) for
    // an empty value or a sample deleted or replaced since it was shown; an EngineError for
    // codes that are not numbers or a row the file refuses.
    StoredResult Store(const ShownSample& sample, const Result& result,
                       const std::optional<Result>& correcting = std::nullopt);

    // The sample's numeric results that match the filter; an empty set when the filter
    // cannot match (a code that is not a number).
    Cursor<Result> Locate(const ResultFilter& filter);

    // Whether the result is stored as given: same kind, sample, parameter and value (a
    // number compared as a number, so "8.40" is 8.4; text as it is).
    bool IsStored(const Result& result);
    // Deletes that result, if still stored as given; false when it is not.
    bool Delete(const Result& result);

    // Every result of the sample, by parameter, numeric before text before replicate.
    std::vector<Result> OfSample(const std::string& sampleCode);

    // The "Results" tab's grid of a sample's results, a row for each (as OfSample gives
    // them): kind, parameter code and short name, value, remark, grade, comment.
    static const std::vector<std::string> kSheetHeaders;
    GridRows Sheet(const std::vector<Result>& results);

  private:
    platform::Database& db_;
};

}  // namespace store
