// The checks of a review: each a query over the scope, its rows judged as they stream by.
#include "Review.h"

#include <algorithm>
#include <cmath>

#include "Conversions.h"
#include "Database.h"
#include "ReviewParts.h"
#include "RowStream.h"
#include "StationRecord.h"
#include "Tables.h"

namespace store {

using namespace review_parts;

namespace {

struct CheckText {
    Check check;
    const char* code;
    const char* name;
};
constexpr CheckText kChecks[] = {
    {Check::OutsideRange, "range", "Outside the expected range"},
    {Check::ReplicateDisagrees, "replicate", "Replicate disagrees"},
    {Check::ReplicateNotScored, "replicate-unscored", "Replicate pair not scored"},
    {Check::PartAboveWhole, "part-whole", "Part above whole"},
    {Check::NotPossible, "impossible", "Not possible"},
    {Check::SameSampleTwice, "same-sample", "Same sample twice"},
};

// Thrown out of a check when the progress sink asks to stop.
struct Stopped {};

// "12.5 %" with at most one decimal.
std::string percent(double p) { return Shown(std::round(p * 10) / 10) + " %"; }

// The columns every check reads first, on the sample `s`.
constexpr const char* kSampleColumns = "s.idloc, s.sample_code, s.station_id, s.start_date";

// A finding run: names looked up once, marks applied, progress told.
class Runner {
  public:
    Runner(platform::Database& db, const ReviewScope& scope, const ReviewSettings& settings,
           const FindingSink& sink, const ReviewProgressSink& progress)
        : db_(db),
          scope_(scope),
          settings_(settings),
          sink_(sink),
          progress_(progress),
          names_(ReadNames(db)),
          ph_(names_.ph) {
        marks_ = ReviewMarks(db_).All();
        limits_ = LimitColumnsOf(db_);
        pairs_ = db_.TableExists(table::ParameterPairs);
    }

    ReviewOutcome Run() {
        std::vector<Check> checks;
        for (Check c : kAllChecks)
            if (settings_.checks.count(c)) checks.push_back(c);
        at_.checkCount = static_cast<int>(checks.size());
        try {
            for (Check c : checks) {
                at_.check = c;
                at_.rowsRead = 0;
                tell();
                switch (c) {
                    case Check::OutsideRange:
                        outsideLimits();
                        outsideRecord();
                        break;
                    case Check::ReplicateDisagrees:
                        replicatePairs();
                        break;
                    case Check::ReplicateNotScored:
                        // Read with the scored pairs when those are asked for too.
                        if (!settings_.checks.count(Check::ReplicateDisagrees)) replicatePairs();
                        break;
                    case Check::PartAboveWhole:
                        partAboveWhole();
                        break;
                    case Check::NotPossible:
                        notPossible();
                        break;
                    case Check::SameSampleTwice:
                        sameSampleTwice();
                        break;
                }
                ++at_.checkIndex;
            }
        } catch (const Stopped&) {
            outcome_.cancelled = true;
        }
        return outcome_;
    }

  private:
    void tell() {
        at_.findings = outcome_.findings;
        if (progress_ && !progress_(at_)) throw Stopped{};
    }
    void read() {
        if (++at_.rowsRead % 4096 == 0) tell();
    }

    // A finding from the columns kSampleColumns put first.
    Finding start(Check check, const platform::RowStream& rows, long long parameter) {
        Finding f;
        f.check = check;
        f.source = rows.Value(0).toText();
        f.sampleCode = rows.Value(1).toInteger();
        f.station = rows.Value(2).toText();
        f.date = DateOf(rows.Value(3));
        f.parameterCode = parameter;
        return f;
    }

    void emit(Finding f) {
        f.stationName = names_.Station(f.station);
        if (f.parameterCode) f.parameterName = names_.Parameter(f.parameterCode);
        if (auto m = marks_.find(f.Key()); m != marks_.end() && m->second.value == f.value) {
            if (!settings_.showReviewed) {
                ++outcome_.reviewed;
                return;
            }
            f.mark = m->second;
        }
        ++outcome_.findings;
        sink_(f);
    }

    bool belowLimit(const std::string& remark) const {
        return scope_.belowLimitRemarks.count(platform::Trim(remark)) > 0;
    }

    std::string parameterWords(long long code) {
        const std::string name = names_.Parameter(code);
        return name == std::to_string(code) ? name : name + " (" + std::to_string(code) + ")";
    }

    BoundQuery scoped(std::string sql, const char* parameterColumn) {
        BoundQuery q{std::move(sql), {}};
        AddStations(q, scope_, false);
        AddSampleScope(q, scope_);
        AddDates(q, scope_, false);
        if (parameterColumn) AddParameters(q, scope_, parameterColumn);
        return q;
    }

    // Values outside the limits a table gives: the query keeps only those.
    void outsideLimits() {
        if (!limits_) return;
        const std::string low = std::string("l.") + limits_->low,
                          high = std::string("l.") + limits_->high;
        BoundQuery q =
            scoped(std::string("select ") + kSampleColumns +
                       ", r.parameter_code, r.result_value, r.remark_code, " + low + ", " + high +
                       " from " + table::Sample + " s join " + table::Results +
                       " r on r.idloc = s.idloc and r.sample_code = s.sample_code join " +
                       table::ParameterLimits +
                       " l on l.parameter_code = r.parameter_code where (r.result_value < " + low +
                       " or r.result_value > " + high + ")",
                   "r.parameter_code");
        q.sql += " order by s.station_id, s.start_date";
        platform::RowStream rows(db_);
        rows.OpenLong(q.sql, q.values);
        while (rows.Next()) {
            read();
            if (belowLimit(rows.Value(6).toText())) continue;
            const auto v = NumberOf(rows.Value(5));
            const auto l = NumberOf(rows.Value(7)), h = NumberOf(rows.Value(8));
            if (!v || !l || !h) continue;
            Finding f = start(Check::OutsideRange, rows, rows.Value(4).toInteger());
            f.value = Shown(*v);
            f.detail = f.value + " is " + (*v < *l ? "below" : "above") + " the expected range " +
                       Shown(*l) + " to " + Shown(*h) + " (from the table of parameter limits)";
            emit(std::move(f));
        }
    }

    // Values outside the station's own record, for parameters without limits: the record is
    // read a station at a time with its history and judged here.
    void outsideRecord() {
        std::vector<long long> limited;
        for (const auto& [parameter, range] : ReadLimits(db_)) limited.push_back(parameter);
        StationRecords records(db_, scope_, {false, limited});
        std::vector<RecordValue> values;
        records.Read(
            [&](const std::string& station, long long parameter,
                const std::vector<RecordResult>& results) {
                values.clear();
                for (const RecordResult& r : results)
                    values.push_back({r.value, r.sample->date, r.inScope && !r.below});
                // Below-limit results are no part of the record: their dates stay unknown.
                for (std::size_t i = 0; i < results.size(); ++i)
                    if (results[i].below) values[i].date.reset();
                const auto bounds = EarlierPercentiles(values, Review::kRecordForPercentiles);
                for (std::size_t i = 0; i < bounds.size(); ++i) {
                    const auto& b = bounds[i];
                    const RecordResult& r = results[i];
                    if (!b || (r.value >= b->low && r.value <= b->high)) continue;
                    Finding f;
                    f.check = Check::OutsideRange;
                    f.source = r.sample->source;
                    f.sampleCode = r.sample->code;
                    f.station = station;
                    f.date = r.sample->date;
                    f.parameterCode = parameter;
                    f.value = Shown(r.value);
                    const bool below = r.value < b->low;
                    f.detail = f.value + " is " + (below ? "below" : "above") + " the station's " +
                               (below ? "1st" : "99th") + " percentile, " +
                               Shown(below ? b->low : b->high) + ", of its " +
                               std::to_string(b->earlier) + " earlier results";
                    emit(std::move(f));
                }
                return true;
            },
            [&](long long rows) {
                at_.rowsRead = rows;
                tell();
                return true;
            });
    }

    void replicatePairs() {
        BoundQuery q = scoped(
            std::string("select ") + kSampleColumns +
                ", p.parameter_code, p.result_value, p.remark_code, n.idloc, n.result_value, "
                "n.remark_code, t.idloc, t.result_value from " +
                table::Sample + " s join " + table::Replicates +
                " p on p.idloc = s.idloc and p.sample_code = s.sample_code left join " +
                table::Results +
                " n on n.idloc = p.idloc and n.sample_code = p.sample_code and n.parameter_code = "
                "p.parameter_code left join " +
                table::ResultsNonNumeric +
                " t on t.idloc = p.idloc and t.sample_code = p.sample_code and t.parameter_code = "
                "p.parameter_code where (n.idloc is not null or t.idloc is not null)",
            "p.parameter_code");
        q.sql += " order by s.station_id, s.start_date";
        platform::RowStream rows(db_);
        rows.OpenLong(q.sql, q.values);
        while (rows.Next()) {
            read();
            const long long parameter = rows.Value(4).toInteger();
            const bool textResult = rows.Value(7).isNull();
            const std::string replicateRemark = platform::Trim(rows.Value(6).toText()),
                              resultRemark = platform::Trim(rows.Value(9).toText());
            const std::string replicate = platform::Trim(rows.Value(5).toText());
            std::optional<double> a;
            if (!textResult) a = NumberOf(rows.Value(8));
            const auto b = platform::ParseNumber(replicate);
            const bool replicateBelow = belowLimit(replicateRemark) ||
                                        (!replicate.empty() && replicate[0] == '<'),
                       resultBelow = !textResult && belowLimit(resultRemark);
            // Each side as stored, a below-limit remark before its number.
            const std::string resultShown =
                textResult ? platform::Trim(rows.Value(11).toText())
                           : (resultBelow ? resultRemark : "") + (a ? Shown(*a) : std::string());
            const std::string replicateShown =
                b ? (replicateBelow ? replicateRemark : "") + Shown(*b) : replicate;
            std::string why;
            if (textResult)
                why = "the result is text";
            else if (!a)
                why = "the result has no value";
            else if (resultBelow || replicateBelow)
                why = "below the limit";
            else if (!b)
                why = "the replicate is text";
            Finding f = start(why.empty() ? Check::ReplicateDisagrees : Check::ReplicateNotScored,
                              rows, parameter);
            f.value = resultShown + " / " + replicateShown;
            if (!why.empty()) {
                if (!settings_.checks.count(Check::ReplicateNotScored)) continue;
                f.detail = "Not scored (" + why + "): the result " + quoted(resultShown) +
                           ", its replicate " + quoted(replicateShown);
                emit(std::move(f));
                continue;
            }
            if (!settings_.checks.count(Check::ReplicateDisagrees)) continue;
            auto own = settings_.rpdByParameter.find(parameter);
            const double threshold =
                own != settings_.rpdByParameter.end() ? own->second : settings_.rpdPercent;
            const double x = a.value_or(0), y = b.value_or(0);
            const double mean = std::abs(x + y) / 2, difference = std::abs(x - y);
            // Compared without dividing, so a pair at the threshold exactly is within it.
            if (difference * 100 <= threshold * mean) continue;
            f.detail = (mean > 0 ? "RPD " + percent(difference / mean * 100)
                                 : std::string("RPD beyond measure")) +
                       " between " + Shown(x) + " and " + Shown(y) + " (more than " +
                       percent(threshold) + ")";
            emit(std::move(f));
        }
    }

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    void partAboveWhole() {
        if (!pairs_) return;
        BoundQuery q = scoped(
            std::string("select ") + kSampleColumns +
                ", p.parameter_code, p.result_value, p.remark_code, w.parameter_code, "
                "w.result_value, w.remark_code, pr.tolerance_percent from " +
                table::ParameterPairs + " pr join " + table::Results +
                " p on p.parameter_code = pr.part_code join " + table::Results +
                " w on w.idloc = p.idloc and w.sample_code = p.sample_code and w.parameter_code = "
                "pr.whole_code join " +
                table::Sample +
                " s on s.idloc = p.idloc and s.sample_code = p.sample_code where p.parameter_code "
                "in "
                "(select part_code from " +
                table::ParameterPairs +
                ") and p.result_value > w.result_value + abs(w.result_value) * "
                "coalesce(pr.tolerance_percent, 0) / 100",
            nullptr);
        if (!scope_.parameters.empty()) {
            // A pair is in the scope when either of its parameters is.
            q.sql += " and (p.parameter_code" + InList(scope_.parameters.size()) +
                     " or w.parameter_code" + InList(scope_.parameters.size()) + ")";
            for (int twice = 0; twice < 2; ++twice)
                for (const auto& p : scope_.parameters) q.values.push_back(RequireCode(p));
        }
        q.sql += " order by s.station_id, s.start_date";
        platform::RowStream rows(db_);
        rows.OpenLong(q.sql, q.values);
        while (rows.Next()) {
            read();
            // A part below its limit may be anything under it.
            if (belowLimit(rows.Value(6).toText())) continue;
            const auto part = NumberOf(rows.Value(5)), whole = NumberOf(rows.Value(8));
            if (!part || !whole) continue;
            const double tolerance = NumberOf(rows.Value(10)).value_or(0);
            Finding f = start(Check::PartAboveWhole, rows, rows.Value(4).toInteger());
            const long long wholeCode = rows.Value(7).toInteger();
            const bool wholeBelow = belowLimit(rows.Value(9).toText());
            f.value =
                Shown(*part) + " / " + (wholeBelow ? rows.Value(9).toText() : "") + Shown(*whole);
            f.detail =
                parameterWords(f.parameterCode) + " " + Shown(*part) + " is above " +
                parameterWords(wholeCode) + " " +
                (wholeBelow ? "below its limit of " + Shown(*whole)
                            : Shown(*whole) +
                                  (*whole != 0
                                       ? " by " + percent((*part - *whole) / std::abs(*whole) * 100)
                                       : std::string())) +
                " (" + percent(tolerance) + " allowed)";
            emit(std::move(f));
        }
    }

    void notPossible() {
        if (ph_.empty() && !limits_) return;
        std::string sql = std::string("select ") + kSampleColumns +
                          ", r.parameter_code, r.result_value from " + table::Sample + " s join " +
                          table::Results +
                          " r on r.idloc = s.idloc and r.sample_code = s.sample_code";
        if (limits_)
            sql += std::string(" left join ") + table::ParameterLimits +
                   " l on l.parameter_code = r.parameter_code";
        std::vector<platform::Variant> values;
        std::string phCondition, negative;
        if (!ph_.empty()) {
            phCondition = "(r.parameter_code" + InList(ph_.size()) +
                          " and (r.result_value < 0 or r.result_value > 14))";
            for (long long code : ph_) values.push_back(code);
        }
        if (limits_) negative = std::string("(r.result_value < 0 and l.") + limits_->low + " >= 0)";
        // What the result alone shows first, so the joins are made for the few rows left.
        std::string first = "r.result_value < 0";
        if (!ph_.empty()) {
            first = "(" + first + " or (r.parameter_code" + InList(ph_.size()) +
                    " and r.result_value > 14))";
            for (long long code : ph_) values.push_back(code);
        }
        sql += " where " + first + " and (" + phCondition +
               (ph_.empty() || !limits_ ? "" : " or ") + negative + ")";
        BoundQuery q = scoped(sql, "r.parameter_code");
        q.values.insert(q.values.begin(), values.begin(), values.end());
        q.sql += " order by s.station_id, s.start_date";
        platform::RowStream rows(db_);
        rows.OpenLong(q.sql, q.values);
        while (rows.Next()) {
            read();
            const auto v = NumberOf(rows.Value(5));
            if (!v) continue;
            Finding f = start(Check::NotPossible, rows, rows.Value(4).toInteger());
            f.value = Shown(*v);
            const bool ph = std::find(ph_.begin(), ph_.end(), f.parameterCode) != ph_.end();
            f.detail = ph && (*v < 0 || *v > 14)
                           ? "A pH of " + f.value + " is not possible: pH lies between 0 and 14"
                           : "A negative value is not possible: the expected range starts at 0 "
                             "or above";
            emit(std::move(f));
        }
    }

    void sameSampleTwice() {
        // Twins are found among every source and project; the scope picks whose are listed.
        // Sorted so that twins come together: one read of the samples, no join of them.
        BoundQuery q{std::string("select ") + kSampleColumns +
                         ", s.project_code, coalesce(s.medium, ''), coalesce(s.sample_type, '') "
                         "from " +
                         table::Sample +
                         " s where s.start_date is not null and "
                         "s.station_id is not null",
                     {}};
        AddStations(q, scope_, false);
        AddDates(q, scope_, false);
        q.sql +=
            " order by s.station_id, s.start_date, coalesce(s.medium, ''), "
            "coalesce(s.sample_type, ''), s.idloc, s.sample_code";
        platform::RowStream rows(db_);
        rows.OpenLong(q.sql, q.values);
        struct Twin {
            Finding finding;
            std::string project, medium, type;
        };
        std::vector<Twin> group;
        auto judge = [&] {
            if (group.size() < 2) group.clear();
            for (std::size_t i = 0; i < group.size(); ++i) {
                Twin& t = group[i];
                if (!InScope(scope_, t.finding.source, t.project, t.finding.date)) continue;
                std::string others;
                for (std::size_t j = 0; j < group.size(); ++j)
                    if (j != i)
                        others += (others.empty() ? "" : ", ") + group[j].finding.source + " " +
                                  std::to_string(group[j].finding.sampleCode);
                t.finding.value = others;
                t.finding.detail = "Same station, start, medium (" + t.medium +
                                   ") and sample type (" + t.type + ") as " + others;
                emit(t.finding);
            }
            group.clear();
        };
        while (rows.Next()) {
            read();
            Twin t{start(Check::SameSampleTwice, rows, 0), rows.Value(4).toText(),
                   rows.Value(5).toText(), rows.Value(6).toText()};
            if (!group.empty()) {
                const Twin& g = group.front();
                if (g.finding.station != t.finding.station || g.finding.date != t.finding.date ||
                    g.medium != t.medium || g.type != t.type)
                    judge();
            }
            group.push_back(std::move(t));
        }
        judge();
    }

    platform::Database& db_;
    const ReviewScope& scope_;
    const ReviewSettings& settings_;
    const FindingSink& sink_;
    const ReviewProgressSink& progress_;
    const Names names_;
    const std::vector<long long>& ph_;
    std::map<FindingKey, ReviewMark> marks_;
    std::optional<LimitColumns> limits_;
    bool pairs_ = false;
    ReviewProgress at_;
    ReviewOutcome outcome_;
};

}  // namespace

std::string CheckName(Check check) {
    for (const auto& c : kChecks)
        if (c.check == check) return c.name;
    return "";
}

std::string CheckCode(Check check) {
    for (const auto& c : kChecks)
        if (c.check == check) return c.code;
    return "";
}

std::optional<Check> CheckOfCode(const std::string& code) {
    for (const auto& c : kChecks)
        if (code == c.code) return c.check;
    return std::nullopt;
}

ReviewOutcome Review::Run(const ReviewScope& scope, const ReviewSettings& settings,
                          const FindingSink& sink, const ReviewProgressSink& progress) {
    return Runner(db_, scope, settings, sink, progress).Run();
}

std::vector<Finding> Review::Findings(const ReviewScope& scope, const ReviewSettings& settings) {
    std::vector<Finding> found;
    Run(scope, settings, [&](const Finding& f) { found.push_back(f); });
    return found;
}

}  // namespace store
