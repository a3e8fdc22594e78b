#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "DateTime.h"
#include "Records.h"

namespace platform {
class Database;
}

namespace store {

namespace table {
inline constexpr const char* ResultReview = "tblresult_review";
inline constexpr const char* ParameterPairs = "tblparameter_pairs";
inline constexpr const char* ParameterLimits = "tblparameter_limits";
}  // namespace table

// What a review looks at. Empty lists and unset fields do not narrow it. Stations and
// parameters are codes (whole numbers; Refused otherwise); both dates are whole days,
// included. The station's record a value is measured against is every source's and every
// project's, whatever the scope.
struct ReviewScope {
    std::optional<std::string> project;
    std::vector<std::string> stations;
    std::vector<std::string> parameters;
    std::optional<platform::DateTime> from, to;
    bool handEnteredOnly = false;
    // Remark codes that mark a result below its limit; such results are never scored.
    std::set<std::string> belowLimitRemarks = {"<"};
};

// The checks, in the order a review runs them.
enum class Check {
    OutsideRange,        // outside the parameter's limits, or the station's 1st to 99th percentile
    ReplicateDisagrees,  // replicate and result differ by more than the RPD threshold
    ReplicateNotScored,  // a replicate pair with a text or below-limit side, listed apart
    PartAboveWhole,      // a part (dissolved) above its whole (total) beyond the tolerance
    NotPossible,         // a pH outside 0 to 14, a negative value where the range starts at 0
    SameSampleTwice,     // samples of a station with the same start, medium and sample type
};
inline constexpr Check kAllChecks[] = {Check::OutsideRange,       Check::ReplicateDisagrees,
                                       Check::ReplicateNotScored, Check::PartAboveWhole,
                                       Check::NotPossible,        Check::SameSampleTwice};
// "Outside the expected range", as the grid and the CSV name it.
std::string CheckName(Check check);
// The code a mark stores ("range"); and back, nothing for an unknown one.
std::string CheckCode(Check check);
std::optional<Check> CheckOfCode(const std::string& code);

// What a finding is about, the key a mark is stored under. A sample's own finding (the same
// sample twice) has parameter 0.
struct FindingKey {
    std::string source;
    long long sampleCode = 0;
    long long parameterCode = 0;
    Check check = Check::OutsideRange;
    auto operator<=>(const FindingKey&) const = default;
};

// Who marked a finding reviewed, when, with what note, and the value it was made on.
struct ReviewMark {
    std::string value, reviewer, note;
    platform::DateTime when;
};

// One doubtful result (or sample). `value` is what a mark is made on: the stored value, or
// both of a pair ("7.2 / 10.4"), or the other samples of a twin ("B 17, S 9").
struct Finding {
    Check check = Check::OutsideRange;
    std::string source;
    long long sampleCode = 0;
    std::string station, stationName;
    std::optional<platform::DateTime> date;
    long long parameterCode = 0;  // 0 for a sample's own finding
    std::string parameterName;    // the short name, else the code
    std::string value;
    std::string detail;              // in words: "RPD 37 % between 7.2 and 10.4"
    std::optional<ReviewMark> mark;  // set only when reviewed findings are shown
    FindingKey Key() const { return {source, sampleCode, parameterCode, check}; }
};

// How the checks are tuned.
struct ReviewSettings {
    std::set<Check> checks{std::begin(kAllChecks), std::end(kAllChecks)};
    double rpdPercent = 20;                      // a replicate pair's largest RPD
    std::map<long long, double> rpdByParameter;  // a parameter's own threshold
    bool showReviewed = false;                   // also findings marked reviewed
};

// How far a review got, for a progress bar: the check at hand (its index among those run)
// and the rows it has read so far.
struct ReviewProgress {
    Check check = Check::OutsideRange;
    int checkIndex = 0, checkCount = 0;
    long long rowsRead = 0, findings = 0;
};
// Heard at the start of each check and every few thousand rows; false stops the review.
using ReviewProgressSink = std::function<bool(const ReviewProgress&)>;
using FindingSink = std::function<void(const Finding&)>;

struct ReviewOutcome {
    long long findings = 0;  // handed to the sink
    long long reviewed = 0;  // left out as marked reviewed on the value they have
    bool cancelled = false;
};

// The checks of the data, each one query over the scope, their findings handed over as they
// are found (by check, then by station).
class Review {
  public:
    // Results of a station and parameter needed before its own percentiles count.
    static constexpr long long kRecordForPercentiles = 30;

    explicit Review(platform::Database& db) : db_(db) {}

    ReviewOutcome Run(const ReviewScope& scope, const ReviewSettings& settings,
                      const FindingSink& sink, const ReviewProgressSink& progress = {});
    // Every finding at once, for a test or a small scope.
    std::vector<Finding> Findings(const ReviewScope& scope, const ReviewSettings& settings = {});

  private:
    platform::Database& db_;
};

// The marks of reviewed findings, in tblresult_review.
class ReviewMarks {
  public:
    explicit ReviewMarks(platform::Database& db) : db_(db) {}

    // Marks the findings reviewed on their present value, by Reviewer(), now, with the note,
    // as one journaled action (an older mark of a finding is replaced). Makes the table when
    // the database lacks it. Refused, with nothing written, when the login may not.
    void Mark(const std::vector<Finding>& findings, const std::string& note);
    // Every mark; none when the table is missing.
    std::map<FindingKey, ReviewMark> All();
    // The server login on a server, the operating-system user on a file.
    std::string Reviewer();

  private:
    platform::Database& db_;
};

// The table of marks, as a new database gets it and an older one on its first mark.
const char* ReviewDdl();
// The optional table of parameters whose part may not exceed their whole, for new databases.
const char* ParameterPairsDdl();

}  // namespace store
