// The summary of a station's record and the boxes of its box plots, read a station at a time.
#include "RecordSummary.h"

#include <algorithm>
#include <numeric>

#include "Conversions.h"
#include "Database.h"
#include "ReviewParts.h"
#include "RowStream.h"
#include "Tables.h"

namespace store {

using namespace review_parts;

namespace {

// One result of the record: measured, or below its limit (at the limit).
struct Reading {
    long long parameter = 0;
    std::optional<platform::DateTime> date;
    double value = 0;
    bool below = false;
    bool inScope = false;
};

// Reads the numeric results and the "<N" text results of the scope's stations with their
// history, and hands over each station and parameter's readings in date order of no
// importance. False from `visit` or `progress` stops the read.
class RecordReader {
  public:
    RecordReader(platform::Database& db, const ReviewScope& scope) : db_(db), scope_(scope) {}

    using Visit = std::function<bool(const std::string& station, long long parameter,
                                     const std::vector<Reading>& readings)>;
    void Read(const Visit& visit, const std::function<bool(long long)>& progress) {
        BoundQuery numeric{std::string("select s.station_id, r.parameter_code, s.start_date, "
                                       "s.idloc, s.project_code, r.result_value, r.remark_code, "
                                       "null from ") +
                               table::Sample + " s join " + table::Results +
                               " r on r.idloc = s.idloc and r.sample_code = s.sample_code where "
                               "s.station_id is not null and r.result_value is not null",
                           {}};
        narrow(numeric, "r.parameter_code");
        BoundQuery text{std::string(" union all select s.station_id, t.parameter_code, "
                                    "s.start_date, s.idloc, s.project_code, null, t.remark_code, "
                                    "t.result_value from ") +
                            table::Sample + " s join " + table::ResultsNonNumeric +
                            " t on t.idloc = s.idloc and t.sample_code = s.sample_code where "
                            "s.station_id is not null",
                        {}};
        narrow(text, "t.parameter_code");
        numeric.values.insert(numeric.values.end(), text.values.begin(), text.values.end());
        platform::RowStream rows(db_);
        rows.OpenLong(numeric.sql + text.sql + " order by 1", numeric.values);
        std::string station;
        std::vector<Reading> readings;
        long long read = 0;
        auto flush = [&] {
            std::stable_sort(
                readings.begin(), readings.end(),
                [](const Reading& a, const Reading& b) { return a.parameter < b.parameter; });
            for (std::size_t first = 0; first < readings.size();) {
                std::size_t end = first;
                while (end < readings.size() &&
                       readings[end].parameter == readings[first].parameter)
                    ++end;
                const std::vector<Reading> group(readings.begin() + static_cast<long>(first),
                                                 readings.begin() + static_cast<long>(end));
                if (!visit(station, readings[first].parameter, group)) return false;
                first = end;
            }
            readings.clear();
            return true;
        };
        while (rows.Next()) {
            if (++read % 4096 == 0 && progress && !progress(read)) return;
            std::string id = rows.Value(0).toText();
            if (id != station) {
                if (!flush()) return;
                station = std::move(id);
            }
            Reading r;
            r.parameter = rows.Value(1).toInteger();
            r.date = DateOf(rows.Value(2));
            const std::string remark = platform::Trim(rows.Value(6).toText());
            if (rows.Value(7).isNull()) {
                const auto v = NumberOf(rows.Value(5));
                if (!v) continue;
                r.value = *v;
                r.below = scope_.belowLimitRemarks.count(remark) > 0;
            } else {
                // Text counts only as "<0.5": below the limit of 0.5.
                const std::string t = platform::Trim(rows.Value(7).toText());
                const auto v =
                    t.empty() || t[0] != '<' ? std::nullopt : platform::ParseNumber(t.substr(1));
                if (!v) continue;
                r.value = *v;
                r.below = true;
            }
            r.inScope = InScope(scope_, rows.Value(3).toText(), rows.Value(4).toText(), r.date);
            readings.push_back(r);
        }
        flush();
    }

  private:
    void narrow(BoundQuery& q, const char* parameterColumn) {
        AddStations(q, scope_, true);
        AddDates(q, scope_, true);
        AddParameters(q, scope_, parameterColumn);
    }

    platform::Database& db_;
    const ReviewScope& scope_;
};

std::vector<double> measured(const std::vector<Reading>& readings) {
    std::vector<double> values;
    for (const Reading& r : readings)
        if (r.inScope && !r.below) values.push_back(r.value);
    std::sort(values.begin(), values.end());
    return values;
}

Box boxOf(std::string label, const std::vector<Reading>& readings,
          const std::function<bool(const Reading&)>& in) {
    Box box;
    box.label = std::move(label);
    std::vector<double> values;
    for (const Reading& r : readings) {
        if (!r.inScope || !in(r)) continue;
        (r.below ? box.belowLimit : values).push_back(r.value);
    }
    std::sort(values.begin(), values.end());
    std::sort(box.belowLimit.begin(), box.belowLimit.end());
    box.count = static_cast<long long>(values.size());
    if (values.empty()) return box;
    box.q1 = Quantile(values, 0.25);
    box.median = Quantile(values, 0.5);
    box.q3 = Quantile(values, 0.75);
    const double reach = 1.5 * (box.q3 - box.q1);
    box.lowWhisker = box.q1;
    box.highWhisker = box.q3;
    for (double v : values) {
        if (v < box.q1 - reach || v > box.q3 + reach)
            box.outliers.push_back(v);
        else {
            box.lowWhisker = std::min(box.lowWhisker, v);
            box.highWhisker = std::max(box.highWhisker, v);
        }
    }
    return box;
}

std::string cell(const std::optional<double>& v) { return v ? Shown(*v) : std::string(); }

}  // namespace

const std::vector<std::string> RecordSummary::kHeaders = {
    "Station",        "Station name",    "Parameter",
    "Parameter name", "Count",           "Below limit",
    "Minimum",        "10th percentile", "Median",
    "Mean",           "90th percentile", "Maximum",
    "First date",     "Last date",       "Outside expected range"};

GridRow RecordSummary::Cells(const SummaryRow& r) {
    return {r.station,
            r.stationName,
            std::to_string(r.parameterCode),
            r.parameterName,
            std::to_string(r.count),
            std::to_string(r.belowLimit),
            cell(r.min),
            cell(r.p10),
            cell(r.median),
            cell(r.mean),
            cell(r.p90),
            cell(r.max),
            r.first ? platform::DateToText(*r.first) : "",
            r.last ? platform::DateToText(*r.last) : "",
            std::to_string(r.outsideRange)};
}

long long RecordSummary::Rows(const ReviewScope& scope,
                              const std::function<void(const SummaryRow&)>& sink,
                              const std::function<bool(long long)>& progress) {
    const Names names = ReadNames(db_);
    const auto limits = ReadLimits(db_);
    long long given = 0;
    RecordReader(db_, scope)
        .Read(
            [&](const std::string& station, long long parameter,
                const std::vector<Reading>& readings) {
                SummaryRow row;
                row.station = station;
                row.stationName = names.Station(station);
                row.parameterCode = parameter;
                row.parameterName = names.Parameter(parameter);
                for (const Reading& r : readings) {
                    if (!r.inScope) continue;
                    ++row.count;
                    row.belowLimit += r.below;
                    if (r.date) {
                        if (!row.first || *r.date < *row.first) row.first = r.date;
                        if (!row.last || *r.date > *row.last) row.last = r.date;
                    }
                }
                if (row.count == 0) return true;
                const std::vector<double> values = measured(readings);
                if (!values.empty()) {
                    row.min = values.front();
                    row.max = values.back();
                    row.p10 = Quantile(values, 0.1);
                    row.median = Quantile(values, 0.5);
                    row.p90 = Quantile(values, 0.9);
                    row.mean = std::accumulate(values.begin(), values.end(), 0.0) /
                               static_cast<double>(values.size());
                }
                if (auto l = limits.find(parameter); l != limits.end()) {
                    for (double v : values)
                        row.outsideRange += v < l->second.first || v > l->second.second;
                } else {
                    std::vector<RecordValue> record;
                    for (const Reading& r : readings)
                        if (!r.below) record.push_back({r.value, r.date, r.inScope});
                    const auto bounds = EarlierPercentiles(record, Review::kRecordForPercentiles);
                    for (std::size_t i = 0; i < bounds.size(); ++i)
                        row.outsideRange += bounds[i] && (record[i].value < bounds[i]->low ||
                                                          record[i].value > bounds[i]->high);
                }
                sink(row);
                ++given;
                return true;
            },
            progress);
    return given;
}

std::vector<SummaryRow> RecordSummary::Rows(const ReviewScope& scope) {
    std::vector<SummaryRow> rows;
    Rows(scope, [&](const SummaryRow& r) { rows.push_back(r); });
    return rows;
}

std::vector<Box> RecordSummary::ByStation(const ReviewScope& scope, const std::string& parameter) {
    ReviewScope one = scope;
    one.parameters = {parameter};
    std::vector<Box> boxes;
    RecordReader(db_, one).Read(
        [&](const std::string& station, long long, const std::vector<Reading>& readings) {
            Box box = boxOf(station, readings, [](const Reading&) { return true; });
            if (box.count || !box.belowLimit.empty()) boxes.push_back(std::move(box));
            return true;
        },
        {});
    return boxes;
}

std::vector<Box> RecordSummary::ByMonth(const ReviewScope& scope, const std::string& station,
                                        const std::string& parameter) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    ReviewScope one = scope;
    one.stations = {station};
    one.parameters = {parameter};
    std::vector<Reading> all;
    RecordReader(db_, one).Read(
        [&](const std::string&, long long, const std::vector<Reading>& readings) {
            all.insert(all.end(), readings.begin(), readings.end());
            return true;
        },
        {});
    std::vector<Box> boxes;
    for (int month = 1; month <= 12; ++month)
        boxes.push_back(boxOf(kMonths[month - 1], all, [month](const Reading& r) {
            return r.date && r.date->month == month;
        }));
    return boxes;
}

}  // namespace store
