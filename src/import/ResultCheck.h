#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ImportColumns.h"
#include "Records.h"

namespace platform {
class Database;
class Statement;
}  // namespace platform

namespace import {

// What a row of a lab file will do.
enum class Mark { Ready, Replaces, Refused };

// Samples named by station and date that are not stored yet are made with these, when asked.
struct NewSamples {
    bool create = false;
    std::string project, medium, sampleType;
};

// How values are read: with a decimal comma ("12,5" is 12.5, a point then marks thousands),
// and what becomes of a value that reads as a number only when written another way
// ("1,250", "12 mg/L"): refused for the user to choose, stored as typed, or as the number.
enum class WrittenOtherwise { Refuse, AsNumber, AsTyped };
struct ValueReading {
    bool decimalComma = false;
    WrittenOtherwise writtenOtherwise = WrittenOtherwise::Refuse;
};

// A row checked: the result it stores, for which sample (made first when `newSample` is
// set), and what it replaces; or why it is refused.
struct CheckedRow {
    Mark mark = Mark::Ready;
    std::string reason;
    store::Result result;
    long long sample = 0, parameter = 0;  // the result's codes as numbers
    double number = 0;                    // a numeric result's value
    std::optional<store::Sample> newSample;
    std::optional<store::ResultKind> replacedKind;  // the table the replaced result is in
    std::string oldValue;
    bool needsChoice = false;  // refused only until the user says how to store its value
};

// A set of whole numbers that keeps them in one array: one entry per row of a file.
class KeySet {
  public:
    // False when the key was in already.
    bool Insert(unsigned long long key);

  private:
    std::vector<unsigned long long> slots_ = std::vector<unsigned long long>(1024);  // key + 1
    size_t size_ = 0;
};

// Checks a lab file's rows against the open database, row by row, without writing. The
// lists (stations, parameters, remarks, hand-entered samples) are read once; each row costs
// a few lookups in memory and, for a sample that has results already, two in the file.
// Rows are checked in file order: a later row for the same sample and parameter is refused,
// and samples made for earlier rows count as stored.
class ResultChecker {
  public:
    ResultChecker(platform::Database& db, ColumnMap map, NewSamples newSamples,
                  ValueReading reading = {});
    ~ResultChecker();

    CheckedRow Check(const std::vector<std::string>& record);

  private:
    struct SampleKey {
        long long station;
        std::string start;
        bool operator<(const SampleKey& o) const {
            return station != o.station ? station < o.station : start < o.start;
        }
    };
    void load();
    // The sample the row names; empty with `row` refused when there is none.
    std::optional<long long> sampleOf(const std::vector<std::string>& record, CheckedRow& row);
    std::optional<long long> parameterOf(std::string_view text) const;
    // The value's number, or nothing to store it as text; false with `row` refused.
    bool readValue(std::optional<double>& number, CheckedRow& row) const;
    void findReplaced(long long sample, CheckedRow& row);

    platform::Database& db_;
    ColumnMap map_;
    NewSamples newSamples_;
    ValueReading reading_;
    std::unordered_set<long long> stations_;
    std::unordered_set<long long> parameters_;
    std::unordered_map<std::string, long long> parametersByName_;  // short name in capitals
    std::set<std::string> remarks_;
    std::unordered_set<long long> samples_;
    std::map<SampleKey, std::vector<long long>> samplesAt_;
    std::unordered_set<long long> withResults_;
    KeySet seen_;  // sample, parameter and replicate flag
    long long nextCode_ = 1;
    std::unique_ptr<platform::Statement> numeric_, text_, replicate_;
};

}  // namespace import
