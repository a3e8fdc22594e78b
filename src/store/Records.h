#pragma once

// The plain records that travel between the windows and the services of the data layer.
// A window reads its controls into one of these, hands it to a service and shows what comes
// back; no window builds SQL or holds a database read.

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Conversions.h"
#include "DateTime.h"
#include "EngineError.h"

namespace store {

// A service would not do what it was asked, for a reason the user can act on (the message
// says it in the user's words); nothing was written.
class Refused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A code typed as text (a station, a parameter) as its number; Refused when it is none.
inline long long RequireCode(const std::string& code) {
    const auto number = platform::WholeNumberOf(code);
    if (!number) throw Refused("\"" + code + "\" is no code number.");
    return *number;
}

// ---- Lookup lists -------------------------------------------------------------------------

// One entry of a lookup list. The code and the description are kept apart: a code may
// itself hold the '-' that joins the two on screen (`NC-01`, `W-F`).
struct LookupEntry {
    std::string code;
    std::string description;

    // "code-description", as the lists show it.
    std::string Text() const { return code + "-" + description; }
    bool operator==(const LookupEntry&) const = default;
};
using LookupEntries = std::vector<LookupEntry>;

// ---- Grids --------------------------------------------------------------------------------

// A grid's rows as cell texts, in column order; the grid shows them as they are.
using GridRow = std::vector<std::string>;
using GridRows = std::vector<GridRow>;
// Hears a grid's rows one by one; the row it is given is reused for the next.
using GridRowSink = std::function<void(const GridRow&)>;

// ---- Found sets ---------------------------------------------------------------------------

// The rows a locate found, stepped through by the window's arrows. It behaves as the classic
// recordset did, which the windows' step buttons rely on: before the first row lies BOF and
// after the last EOF (an empty set is both), a step past either end is the error "No current
// record.", and a row removed stays in place, unreadable, until stepped over.
template <class Row>
class Cursor {
  public:
    Cursor() = default;  // closed: every use is an error, as a recordset never opened
    explicit Cursor(std::vector<Row> rows) : rows_(std::move(rows)), open_(true) {
        removed_.assign(rows_.size(), false);
    }

    bool IsOpen() const { return open_; }
    void Close() { *this = Cursor(); }
    bool Empty() const { return open_ && liveCount() == 0; }
    bool Eof() const { return requireOpen(), pos_ >= size() || liveCount() == 0; }
    bool Bof() const { return requireOpen(), pos_ < 0 || liveCount() == 0; }

    void MoveFirst() {
        requireOpen();
        for (pos_ = 0; pos_ < size() && removed_[pos_]; ++pos_) {
        }
        if (pos_ >= size()) noCurrent();
    }
    void MoveNext() {
        if (Eof()) noCurrent();
        do ++pos_;
        while (pos_ < size() && removed_[pos_]);
    }
    void MovePrevious() {
        if (Bof()) noCurrent();
        do --pos_;
        while (pos_ >= 0 && removed_[pos_]);
    }

    const Row& Current() const {
        if (Eof() || Bof()) noCurrent();
        if (removed_[pos_])
            throw platform::EngineError(platform::err::RecordDeleted, "Record is deleted.");
        return rows_[pos_];
    }
    // The current row as it is stored now (after an update on show).
    void ReplaceCurrent(Row row) {
        Current();
        rows_[pos_] = std::move(row);
    }
    // The current row is gone from the database; it stays in place until stepped over.
    void RemoveCurrent() {
        Current();
        removed_[pos_] = true;
    }

  private:
    long long size() const { return static_cast<long long>(rows_.size()); }
    long long liveCount() const {
        long long n = 0;
        for (bool gone : removed_) n += gone ? 0 : 1;
        return n;
    }
    void requireOpen() const {
        if (!open_)
            throw platform::EngineError(platform::err::ObjectNotSet,
                                        "Object invalid or no longer set.");
    }
    [[noreturn]] static void noCurrent() {
        throw platform::EngineError(platform::err::NoCurrentRecord, "No current record.");
    }

    std::vector<Row> rows_;
    std::vector<bool> removed_;
    long long pos_ = 0;
    bool open_ = false;
};

// ---- Samples ------------------------------------------------------------------------------

// A hand-entered sample (a row of tblsample with idloc "V"). Codes are kept as text, as the
// lists hold them; an empty optional is a Null column. Given to Samples::Update, an empty
// end date, depth or composite statistic leaves what is stored.
struct Sample {
    long long code = 0;  // sample_code; Samples::Add gives it
    std::optional<std::string> project, station, medium, sampleType, compositeStatistic;
    std::optional<platform::DateTime> start, end;
    bool missingTime = false;
    std::optional<std::string> depth;  // as typed, or as the engine shows the stored number
    std::optional<std::string> comment;
    bool operator==(const Sample&) const = default;
};

// What the "Sample" tab holds when the user presses "Locate Records"; see Samples::Locate.
struct SampleFilter {
    std::string number;  // sample number as typed
    platform::DateTime startDate, endDate;
    std::string comment, depth;
    // Codes of the selected list entries; nothing when none is selected.
    std::optional<std::string> project, station, sampleType, compositeStatistic, medium;
};

// ---- Results ------------------------------------------------------------------------------

// The three kinds of a hand-entered result, each kept in its own table: a number, a value
// that is not one ("<5", "TNTC"), and a replicate of either. A sample and parameter have at
// most one result that is not a replicate.
enum class ResultKind { Numeric, Text, Replicate };

// One hand-entered result of a sample and parameter.
struct Result {
    std::string sampleCode;
    std::string parameterCode;
    ResultKind kind = ResultKind::Numeric;
    // As typed; read back, a number is in full precision ("0.30000000000000004").
    std::string value;
    // Nothing chosen: a stored row keeps its remark.
    std::optional<std::string> remarkCode;
    std::string grade;
    std::string comment;  // numeric results only

    bool operator==(const Result&) const = default;
};

// The sample a result is entered for, as the window shows it: its code and its start date
// (as shown), so that a sample which took the code of a deleted one is told apart.
struct ShownSample {
    std::string code;
    std::string startDate;
};

// What "Locate Records" narrows the sample's numeric results by. A comment of one character
// or none, a value that is not a number and an unchosen code do not narrow it.
struct ResultFilter {
    std::string sampleCode;
    std::string comment;
    std::optional<std::string> parameterCode;
    std::optional<std::string> remarkCode;
    std::string value;
};

// ---- Viewers ------------------------------------------------------------------------------

// The station viewer's filters; a filter is on when set. Place name and water body match
// anywhere in the name, '*' and '?' as wildcards.
struct StationViewFilter {
    std::optional<std::string> project;
    std::optional<std::string> placeName;
    std::optional<std::string> waterBody;
};

// The sample viewer's filters: hand-entered samples, or every source's dated ones.
struct SampleViewFilter {
    bool allSources = false;
    std::optional<std::pair<platform::DateTime, platform::DateTime>> dates;  // both included
    std::optional<std::string> station;                                      // a whole number
    std::optional<std::string> project;
};

// The result viewer: the results of every source at a station for a parameter (whole
// numbers), or else the hand-entered results of the sample numbered `sampleNumber` (of all
// when it is no number). Numeric results always; replicates and text results on demand.
struct ResultViewFilter {
    std::optional<std::pair<std::string, std::string>> stationAndParameter;
    std::string sampleNumber;
    bool replicates = false;
    bool nonNumeric = false;
};

// A sample as a list shows it: its source marker and its code.
struct ListedSample {
    std::string source;
    long long code = 0;
    bool operator==(const ListedSample&) const = default;
};

// ---- Plots --------------------------------------------------------------------------------

// How a point of a station's series is drawn: a measured value, a value below the limit (at
// the limit), or a replicate beside its sample.
enum class PointKind { Measured, NonDetect, Replicate };

// One result of a series: the sample's start date and the value it is drawn at.
struct PlotPoint {
    platform::DateTime date;
    double value = 0;
    PointKind kind = PointKind::Measured;
    std::string sampleCode, source, remark;
    std::string shownValue;  // as stored ("<0.5" for a text non-detect)
};

// One station's results for one parameter, in date order.
struct PlotSeries {
    std::string stationId, stationName;
    std::vector<PlotPoint> points;
};

// A parameter's usual range, drawn as two lines.
struct ParameterRange {
    double low = 0, high = 0;
};

}  // namespace store
