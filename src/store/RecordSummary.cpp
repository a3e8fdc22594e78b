// The summary of a station's record and the boxes of its box plots, read a station at a time.
#include "RecordSummary.h"

#include <algorithm>
#include <deque>
#include <numeric>

#include "Conversions.h"
#include "Database.h"
#include "ReviewParts.h"
#include "RowStream.h"
#include "StationRecord.h"
#include "Tables.h"

namespace store {

using namespace review_parts;

namespace {

std::vector<double> measured(const std::vector<RecordResult>& readings) {
    std::vector<double> values;
    for (const RecordResult& r : readings)
        if (r.inScope && !r.below) values.push_back(r.value);
    std::sort(values.begin(), values.end());
    return values;
}

Box boxOf(std::string label, const std::vector<RecordResult>& readings,
          const std::function<bool(const RecordResult&)>& in) {
    Box box;
    box.label = std::move(label);
    std::vector<double> values;
    for (const RecordResult& r : readings) {
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
    StationRecords(db_, scope, {true, {}})
        .Read(
            [&](const std::string& station, long long parameter,
                const std::vector<RecordResult>& readings) {
                SummaryRow row;
                row.station = station;
                row.stationName = names.Station(station);
                row.parameterCode = parameter;
                row.parameterName = names.Parameter(parameter);
                for (const RecordResult& r : readings) {
                    if (!r.inScope) continue;
                    ++row.count;
                    row.belowLimit += r.below;
                    if (const auto& date = r.sample->date) {
                        if (!row.first || *date < *row.first) row.first = date;
                        if (!row.last || *date > *row.last) row.last = date;
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
                    for (const RecordResult& r : readings)
                        if (!r.below) record.push_back({r.value, r.sample->date, r.inScope});
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
    StationRecords(db_, one, {true, {}})
        .Read(
            [&](const std::string& station, long long, const std::vector<RecordResult>& readings) {
                Box box = boxOf(station, readings, [](const RecordResult&) { return true; });
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
    // The station's results, their samples kept alive past the read.
    std::deque<RecordSample> samples;
    std::vector<RecordResult> all;
    StationRecords(db_, one, {true, {}})
        .Read(
            [&](const std::string&, long long, const std::vector<RecordResult>& readings) {
                for (RecordResult r : readings) {
                    samples.push_back(*r.sample);
                    r.sample = &samples.back();
                    all.push_back(r);
                }
                return true;
            },
            {});
    std::vector<Box> boxes;
    for (int month = 1; month <= 12; ++month)
        boxes.push_back(boxOf(kMonths[month - 1], all, [month](const RecordResult& r) {
            return r.sample->date && r.sample->date->month == month;
        }));
    return boxes;
}

}  // namespace store
