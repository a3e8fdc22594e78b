#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "Records.h"

namespace platform {
class Database;
}

namespace store {

// A value typed as a number written another way: "1,250" and "1 250" (thousands apart),
// "0,5" (a decimal comma), "12 mg/L" (a unit after it), "12." (a point and nothing after).
// Nothing for a plain number or for text that holds no number.
std::optional<double> NumberWrittenOtherwise(const std::string& value);

// "<5" or "> 100" as the number and its sign, when `remarks` (the remark codes) hold that
// sign; nothing otherwise.
struct LimitValue {
    double number = 0;
    std::string remark;
};
std::optional<LimitValue> LimitWrittenAsText(const std::string& value,
                                             const std::set<std::string>& remarks);

// The range a parameter's values are expected in, and what it comes from, in words.
struct ExpectedRange {
    double low = 0, high = 0;
    std::string source;
};

// How a question before a store may be answered: Yes, No or Cancel; or OK (Yes) or Cancel.
enum class Choices { YesNoCancel, OkCancel };
enum class Answer { Yes, No, Cancel };
using Ask = std::function<Answer(const std::string& question, Choices choices)>;

// The doubts about a result before it is stored, put to the user one by one. The value is
// kept as typed unless an answer chooses otherwise; no answer writes anything.
class EntryReview {
  public:
    // Stored numeric results a parameter needs before their range counts as expected.
    static constexpr long long kResultsForRange = 30;

    explicit EntryReview(platform::Database& db) : db_(db) {}

    // The entry to store after the questions, or nothing when the user cancels.
    std::optional<Result> Review(Result entry, const Ask& ask);

    // From tblparameter_limits when it has the parameter, else the span of the parameter's
    // stored numeric results (every source) when there are at least kResultsForRange.
    std::optional<ExpectedRange> RangeOf(const std::string& parameter);

  private:
    platform::Database& db_;
};

}  // namespace store
