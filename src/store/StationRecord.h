#pragma once

// A station's record read for the review's range check and the summary: every numeric
// result (and "<N" text result, when asked) of the scope's stations with its history, every
// source and project, handed over a station and parameter at a time.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"
#include "Review.h"
#include "ReviewParts.h"

namespace platform {
class Database;
}

namespace store::review_parts {

// The sample a result of the record belongs to.
struct RecordSample {
    std::string source, project;
    long long code = 0;
    std::optional<platform::DateTime> date;
};

// One result: its value (a limit when below it), and whether the scope covers it.
struct RecordResult {
    const RecordSample* sample = nullptr;
    long long parameter = 0;
    double value = 0;
    bool below = false;
    bool inScope = false;
};

class StationRecords {
  public:
    struct Reading {
        bool textResults = false;  // also text results "<N", as below the limit of N
        // Parameters left out (those the parameter limits judge).
        std::vector<long long> withoutParameters;
    };
    StationRecords(platform::Database& db, const ReviewScope& scope, Reading reading)
        : db_(db), scope_(scope), reading_(reading) {}

    // Hears each station and parameter's results, in station order, the results in no order;
    // false stops the read. `progress` hears the rows read every few thousand; false stops.
    using Visit = std::function<bool(const std::string& station, long long parameter,
                                     const std::vector<RecordResult>& results)>;
    void Read(const Visit& visit, const std::function<bool(long long rows)>& progress);

  private:
    // The scope names stations or a project: their results joined to their samples, read a
    // station at a time.
    void readJoined(const Visit& visit, const std::function<bool(long long)>& progress);
    // The whole database: the samples held, then the results read without a join.
    void readWhole(const Visit& visit, const std::function<bool(long long)>& progress);
    std::string resultConditions(BoundQuery& q, const char* alias, bool numeric) const;

    platform::Database& db_;
    const ReviewScope& scope_;
    Reading reading_;
};

}  // namespace store::review_parts
